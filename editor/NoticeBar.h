#pragma once

#include <QFrame>

class QHBoxLayout;
class QLabel;
class QPushButton;

namespace editor {

// A notice above the groups, tinted with the palette's highlight, its text on the left and
// its buttons on the right. It is not modal; the window makes room for it
// while it is shown.
class NoticeBar : public QFrame {
    Q_OBJECT
public:
    // The height of a notice of one line.
    static constexpr int kHeight = 28;

Q_SIGNALS:
    // The notice appeared, went or changed its height.
    void shownChanged();

protected:
    NoticeBar(const QString& name, QWidget* parent);

    // The notice's text, wrapped, on the left of the row; its buttons after it.
    [[nodiscard]] QLabel* addText(const char* name);
    [[nodiscard]] QPushButton* addButton(const QString& text, const char* name, const QString& tip);
    void setShown(bool shown);
    // As high as `text`, wrapped, needs beside the row's other widgets, at the width of the
    // window.
    void fitHeight(const QLabel& text);
    void paintEvent(QPaintEvent* event) override;

private:
    QHBoxLayout* m_row = nullptr;
};

}  // namespace editor
