#include "inform.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "twips.h"
#include "twips_placement.h"

namespace {

const char* const kNotice =
    "Kalmet III\n"
    "\n"
    "Program do oceny systemów pomiarowych: badanie powtarzalności i odtwarzalności "
    "przyrządu (R&R) metodą średniej i rozstępu oraz metodą ANOVA, karty kontrolne X̄–R, "
    "a także badanie typu 1 (Cg, Cgk, obciążenie) oraz obciążenie i liniowość przyrządu w jego "
    "zakresie.\n"
    "\n"
    "Zarejestruj analizę i wybierz jej rodzaj. W badaniu R&R wprowadź serie pomiarów 2–3 "
    "oceniających w 2–3 powtórzeniach dla 5–10 części, a program obliczy średnie i "
    "rozstępy, EV, AV, R&R, PV, TV, wartość odniesienia, udziały procentowe i "
    "rozdzielczość, oceni wynik, narysuje wykres i wydrukuje raport. W badaniu typu 1 "
    "wprowadź od 10 do 1000 odczytów jednego wzorca (wpisz, wklej z arkusza albo odczytaj "
    "z przyrządu), a program obliczy Cg, Cgk, test obciążenia i rozdzielczość wobec "
    "tolerancji. W badaniu liniowości wprowadź odczyty 2–20 części o znanych wartościach "
    "odniesienia, a program dopasuje prostą obciążenia i oceni, czy przyrząd jest liniowy.\n"
    "\n"
    "Analizy można wymieniać z innymi programami (CSV, Q-DAS DFQ), a obliczenia sprawdzić "
    "na opublikowanych przykładach (Narzędzia → Weryfikacja obliczeń).\n"
    "\n"
    "Wszystkie dane są zapisywane na bieżąco w pliku KALMET.MDB w folderze programu.";

// Text2: a one-line box that behaves as a link.
class LinkBox : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLineEdit::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && onClick) {
            onClick();
        }
    }
};

}  // namespace

Inform::Inform(Dialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs) {
    setObjectName(QStringLiteral("Inform"));
    setWindowTitle(QStringLiteral("Informacja"));
    const double dpiX = logicalDpiX();
    const double dpiY = logicalDpiY();
    setFixedSize(Twips::toPixels(7680, dpiX), Twips::toPixels(4980, dpiY));
    centreOnScreen(this, width(), height());

    auto* notice = new QPlainTextEdit(QString::fromUtf8(kNotice), this);
    notice->setObjectName(QStringLiteral("Text1"));
    notice->setReadOnly(true);
    placeInTwips(notice, 30, 30, 7605, 4215);

    auto* link = new LinkBox(QString::fromUtf8("zapraszamy na naszą stronę"), this);
    link->setObjectName(QStringLiteral("Text2"));
    link->setReadOnly(true);
    link->setFrame(false);
    link->setCursor(Qt::PointingHandCursor);
    QFont linkFont(QStringLiteral("DejaVu Sans"));
    linkFont.setPointSizeF(8.25);
    linkFont.setUnderline(true);
    link->setFont(linkFont);
    QPalette p = link->palette();
    p.setColor(QPalette::Text, QColor(0, 0, 255));
    link->setPalette(p);
    link->setToolTip(QString::fromLatin1(kMakerAddress));
    link->onClick = [this] { openMakerPage(); };
    placeInTwips(link, 5520, 3960, 2085, 255);
    // Keep the right edge of the delivered layout, but never cut the text.
    const int needed = link->fontMetrics().horizontalAdvance(link->text()) + 8;
    if (link->width() < needed) {
        link->setGeometry(link->geometry().right() - needed, link->y(), needed, link->height());
    }
    link->setCursorPosition(0);

    auto* close = new QPushButton(QStringLiteral("&Zamknij"), this);
    close->setObjectName(QStringLiteral("SSCommand1"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    placeInTwips(close, 3240, 4440, 1215, 375);

    // The window sees every key first: Enter closes it from any control.
    for (QWidget* w : {static_cast<QWidget*>(notice), static_cast<QWidget*>(link),
                       static_cast<QWidget*>(close)}) {
        w->installEventFilter(this);
    }
    notice->setFocus();
}

// With no browser on the machine the user still learns where the page is.
void Inform::openMakerPage() {
    const QString address = QString::fromLatin1(kMakerAddress);
    if (!dialogs_.openAddress(address)) {
        dialogs_.message(QString::fromUtf8("Nie udało się otworzyć przeglądarki.\n"
                                           "Strona programu: %1")
                             .arg(address),
                         QStringLiteral("Info"), Dialogs::Icon::Information);
    }
}

bool Inform::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
