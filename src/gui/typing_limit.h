#pragma once

#include <QString>

class QLineEdit;

// A box's maximum length limits what the user types, not what the program puts in,
// as a text box with a maximum length does. QLineEdit's own limit cuts every setText, which would
// silently shorten a proposed date or a stored text that is longer than the limit and
// then store it shortened. Here the program's text always goes in whole; the user can
// shorten it but never type it longer than the limit (or than it already is).
namespace TypingLimit {

void apply(QLineEdit* box, int limit);
// Puts a text into a box whole, whatever its typing limit.
void put(QLineEdit* box, const QString& text);
// The limit applied to the box; 0 when it has none.
int of(const QLineEdit* box);

}  // namespace TypingLimit
