#pragma once

#include <QString>
#include <QStringList>

#include "surface.h"

// Texts fitted to a room on a surface, in the surface's own units and current font.
namespace TextFitting {

// How many leading characters of the text, followed by the suffix, fit the room.
int charactersFitting(const Surface& surface, const QString& text, double room,
                      const QString& suffix = {});
// The text whole when it fits; otherwise as many characters as fit, then "…".
QString elided(const Surface& surface, const QString& text, double room);
// The text in lines that fit the room, broken at blanks; a word longer than the room
// is cut with "…".
QStringList wrapped(const Surface& surface, const QString& text, double room);

}  // namespace TextFitting
