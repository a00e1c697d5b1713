#pragma once

#include <QWidget>

class QTreeView;
class QPushButton;
class QRadioButton;
class QGroupBox;
class QProgressBar;

namespace tallyvane {

class ListModel;

struct Form1Controls {
    QPushButton* pushButton8 = nullptr;  // "Help"
    QTreeView* listView1 = nullptr;      // entry list
    QPushButton* pushButton6 = nullptr;  // "Add State or Area Code"
    QPushButton* pushButton3 = nullptr;  // "Load State or Area Code From File"
    QPushButton* pushButton1 = nullptr;  // "Clear List"
    QPushButton* pushButton7 = nullptr;  // "Load Sample/Example Data"
    QGroupBox* frame2 = nullptr;         // " Convert Options"
    QRadioButton* option1 = nullptr;     // "Convert Area Codes To States"
    QRadioButton* option2 = nullptr;     // "Convert States To Area Codes"
    QPushButton* pushButton17 = nullptr; // "Start Converting"
    QTreeView* listView2 = nullptr;      // results list
    QPushButton* pushButton4 = nullptr;  // "Save Results As Text File"
    QPushButton* pushButton13 = nullptr; // "Save Results As Excel File"
    QPushButton* pushButton5 = nullptr;  // "Copy Results To Clipboard"
    QPushButton* pushButton2 = nullptr;  // "Clear Results"
    QProgressBar* progressBar1 = nullptr;
};

// Creates every control of the main window with its name, caption, font,
// colours and tab order, in a layout that puts each at its designed place and
// size (twips / 15 = pixels) in a window of the designed size, and lets the
// lists take or give up the difference in one of any other size.
Form1Controls buildForm1Layout(QWidget* form, ListModel& entries, ListModel& results);

// Both lists first, then the entry and result buttons, then sample data and
// help, and last the direction frame and the progress bar: not the visual order.
void setForm1TabOrder(const Form1Controls& c);

} // namespace tallyvane
