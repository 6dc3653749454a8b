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

    // Makes the label look and act like a link: a pointing hand and clicks.
    void setClickable(bool clickable);

signals:
    void clicked();
    void captionChanged(const QString &caption);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_clickable = false;
};
