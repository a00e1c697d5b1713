#include "app/qt/form1_look.h"

#include "app/qt/form1_fit.h"
#include "app/qt/form1_list_views.h"

#include <QEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>

namespace tallyvane {

namespace {

constexpr double kWindowPointSize = 9.0;
constexpr double kButtonPointSize = 11.25;

QFont boldFont(double pointSize) {
    QFont font(form1FontFamily());
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Bold);
    return font;
}

// Under a light palette the designed surfaces are white, and their texts
// black; under a dark one the window follows the palette everywhere, so that
// it does not stand light around darkened lists.
bool paletteIsLight() {
    return QGuiApplication::palette().color(QPalette::Window).lightnessF() >= 0.5;
}

void setWhiteBackground(QWidget* widget) {
    QPalette palette = widget->palette();
    // Buttons of every kind fill with the Button role, plain widgets with Window.
    palette.setColor(widget->backgroundRole(), Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    widget->setPalette(palette);
}

// An option button's indicator fills with the Base colour and takes its dot in
// the Text colour: white and black here, so that under a dark palette the
// chosen direction does not read as a ring and the other as a dot.
void setWhiteIndicator(QRadioButton* option) {
    QPalette palette = option->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    option->setPalette(palette);
}

void setWhiteFace(QPushButton* button) {
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, Qt::white);
    palette.setColor(QPalette::ButtonText, Qt::black);
    button->setPalette(palette);
}

// The bar lies on the white window; its empty part is white with black text
// too. The filled part keeps the desktop's highlight and its text colour.
void setWhiteGroove(QProgressBar* bar) {
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    bar->setPalette(palette);
}

void applyColours(QWidget* form, const Form1Controls& c) {
    const std::initializer_list<QWidget*> surfaces = {form, c.frame2, c.option1, c.option2};
    const std::initializer_list<QPushButton*> buttons = {
        c.pushButton8,  c.pushButton6, c.pushButton3,  c.pushButton1, c.pushButton7,
        c.pushButton17, c.pushButton4, c.pushButton13, c.pushButton5, c.pushButton2};
    if (!paletteIsLight()) {
        // An empty palette inherits every colour again.
        for (QWidget* widget : surfaces)
            widget->setPalette(QPalette());
        for (QPushButton* button : buttons)
            button->setPalette(QPalette());
        c.progressBar1->setPalette(QPalette());
        return;
    }
    for (QWidget* widget : surfaces)
        setWhiteBackground(widget);
    for (QRadioButton* option : {c.option1, c.option2})
        setWhiteIndicator(option);
    for (QPushButton* button : buttons)
        setWhiteFace(button);
    setWhiteGroove(c.progressBar1);
}

// The lists' least heights, and so the window's, once the style has set the
// headings' and frames' sizes, which it does only as the window is shown:
// three rows each, or two where a short screen has no room for three.
void keepRowsInView(QWidget* form, const Form1Controls& c) {
    const QScreen* screen = form->screen();
    for (const int rows : {3, 2}) {
        for (QTableView* list : {c.listView1, c.listView2})
            keepFewestRowsInView(list, rows);
        form->layout()->activate();
        if (!screen || designedSizeFits(form->layout()->minimumSize(), screen->availableGeometry()))
            break;
    }
    form->setMinimumSize(form->layout()->minimumSize());
}

// Applies the colours again when the desktop's palette changes while the
// window is open, and the least size when it is shown or its style changes.
class LookFollower : public QObject {
public:
    LookFollower(QWidget* form, const Form1Controls& c) : QObject(form), form_(form), c_(c) {
        form->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != form_)
            return false;
        if (event->type() == QEvent::ApplicationPaletteChange)
            applyColours(form_, c_);
        else if (event->type() == QEvent::Show || event->type() == QEvent::StyleChange ||
                 event->type() == QEvent::ApplicationFontChange)
            keepRowsInView(form_, c_);
        return false;
    }

private:
    QWidget* form_;
    const Form1Controls c_; // pointers to the form's own controls
};

void centreOnScreen(QWidget* form) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = form->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    frame.moveTop(qMax(frame.top(), screen->availableGeometry().top()));
    frame.moveLeft(qMax(frame.left(), screen->availableGeometry().left()));
    form->move(frame.topLeft());
}

} // namespace

QString form1FontFamily() {
    static const QString family = QFontDatabase::hasFamily(QStringLiteral("Arial"))
                                      ? QStringLiteral("Arial")
                                      : QStringLiteral("Liberation Sans");
    return family;
}

void applyForm1Look(QWidget* form, const Form1Controls& c) {
    form->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                         Qt::WindowCloseButtonHint);
    form->setFont(boldFont(kWindowPointSize));
    const QFont buttonFont = boldFont(kButtonPointSize);
    for (QPushButton* button :
         {c.pushButton8, c.pushButton6, c.pushButton3, c.pushButton1, c.pushButton7, c.pushButton17,
          c.pushButton4, c.pushButton13, c.pushButton5, c.pushButton2})
        button->setFont(buttonFont);
    for (QTableView* list : {c.listView1, c.listView2})
        list->setFont(boldFont(kWindowPointSize));
    for (QWidget* surface : {form, static_cast<QWidget*>(c.frame2),
                             static_cast<QWidget*>(c.option1), static_cast<QWidget*>(c.option2)})
        surface->setAutoFillBackground(true);
    applyColours(form, c);
    new LookFollower(form, c);
    fitForm1ToScreen(form);
    centreOnScreen(form);
}

} // namespace tallyvane
