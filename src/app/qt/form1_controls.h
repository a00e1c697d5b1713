#pragma once

class QTableView;
class QPushButton;
class QRadioButton;
class QGroupBox;
class QProgressBar;

namespace tallyvane {

// The main window's controls, by the names the commands use.
struct Form1Controls {
    QPushButton* pushButton8 = nullptr;  // "Help"
    QTableView* listView1 = nullptr;     // entry list
    QPushButton* pushButton6 = nullptr;  // "Add State or Area Code"
    QPushButton* pushButton3 = nullptr;  // "Load State or Area Code From File"
    QPushButton* pushButton1 = nullptr;  // "Clear List"
    QPushButton* pushButton7 = nullptr;  // "Load Sample/Example Data"
    QGroupBox* frame2 = nullptr;         // " Convert Options"
    QRadioButton* option1 = nullptr;     // "Convert Area Codes To States"
    QRadioButton* option2 = nullptr;     // "Convert States To Area Codes"
    QPushButton* pushButton17 = nullptr; // "Start Converting"
    QTableView* listView2 = nullptr;     // results list
    QPushButton* pushButton4 = nullptr;  // "Save Results As Text File"
    QPushButton* pushButton13 = nullptr; // "Save Results As Excel File"
    QPushButton* pushButton5 = nullptr;  // "Copy Results To Clipboard"
    QPushButton* pushButton2 = nullptr;  // "Clear Results"
    QProgressBar* progressBar1 = nullptr;
};

} // namespace tallyvane
