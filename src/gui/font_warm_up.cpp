#include "font_warm_up.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>

// The font database is safe to use from any thread; the glyphs of the window's Polish
// captions are laid out once so the first paint finds them ready.
FontWarmUp::FontWarmUp()
    : thread_([] {
          QFontDatabase::families();
          QFontMetricsF(QFont()).horizontalAdvance(QString::fromUtf8("Ąą Łł Śś Żż 0,123"));
      }) {}

FontWarmUp::~FontWarmUp() {
    thread_.join();
}
