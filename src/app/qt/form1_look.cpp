#include "app/qt/form1_look.h"

#include "app/qt/form1_fit.h"

#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
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

// The designed surfaces stay white whatever the desktop's theme, so their
// texts are black: a dark theme's light text on them would vanish.
void setWhiteBackground(QWidget* widget) {
    QPalette palette = widget->palette();
    // Buttons of every kind fill with the Button role, plain widgets with Window.
    palette.setColor(widget->backgroundRole(), Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
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
    setWhiteBackground(form);
    setWhiteBackground(c.frame2);
    for (QRadioButton* option : {c.option1, c.option2}) {
        setWhiteBackground(option);
        setWhiteIndicator(option);
    }

    const QFont buttonFont = boldFont(kButtonPointSize);
    for (QPushButton* button :
         {c.pushButton8, c.pushButton6, c.pushButton3, c.pushButton1, c.pushButton7, c.pushButton17,
          c.pushButton4, c.pushButton13, c.pushButton5, c.pushButton2}) {
        button->setFont(buttonFont);
        setWhiteFace(button);
    }
    c.listView1->setFont(boldFont(kWindowPointSize));
    c.listView2->setFont(boldFont(kWindowPointSize));
    setWhiteGroove(c.progressBar1);
    fitForm1ToScreen(form);
    centreOnScreen(form);
}

} // namespace tallyvane
