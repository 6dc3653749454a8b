#pragma once

#include <QLabel>

// A label that reports clicks and caption changes. Several windows act on a label's
// caption change, whether the user or the program changed it, so setText is the one
// way to change the caption.
class ActiveLabel final : public QLabel
{
    Q_OBJECT

public:
    explicit ActiveLabel(QWidget *parent = nullptr);
    ActiveLabel(const QString &caption, QWidget *parent = nullptr);

    // Sets the caption; emits captionChanged when it differs from the old one.
    void setText(const QString &caption);

    // Makes the label look and act like a link: a pointing hand, clicks, and a place in the
    // Tab order where Space or Enter presses it, so the keyboard reaches what the mouse does.
    void setClickable(bool clickable);
    bool isClickable() const { return m_clickable; }

    // Presses the link as a click would; nothing happens when it is no link or disabled.
    void press();

signals:
    void clicked();
    void captionChanged(const QString &caption);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_clickable = false;
};
