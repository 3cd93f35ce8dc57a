#pragma once

#include <QString>

namespace bsfwindow {

// The four typed texts of a Battle Submission Form, as the editor keeps them between uses.
struct BsfTexts {
    QString idLine;        // TForm1 Edit79, TForm2 Edit1
    QString email;         // TForm1 Edit80, TForm2 Edit2
    QString battleNumber;  // TForm1 Edit81, TForm2 Edit3
    QString medal;         // TForm1 Edit82, TForm2 Edit4

    friend bool operator==(const BsfTexts&, const BsfTexts&) = default;
};

}  // namespace bsfwindow
