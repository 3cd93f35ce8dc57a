#pragma once

#include <QDialog>

namespace ui {

// The modal About box: icon, company and product lines, version, copyright, a web and an
// e-mail link, and the system lines (operating system, memory available).
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace ui
