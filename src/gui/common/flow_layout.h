#pragma once

#include <QLayout>
#include <QList>

// Lays its items out in a row that wraps onto the next line where the width runs out, as
// words wrap in a paragraph, so that on a narrow window (a small screen, a large scale factor)
// every item keeps the width it needs instead of being squeezed.
class FlowLayout final : public QLayout
{
    Q_OBJECT

public:
    explicit FlowLayout(QWidget *parent = nullptr, int spacing = 6);
    ~FlowLayout() override;

    void addItem(QLayoutItem *item) override;
    int count() const override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect &rect) override;

private:
    // Places the items in the rectangle (only measures when `place` is false); returns the
    // height they take.
    int arrange(const QRect &rect, bool place) const;

    QList<QLayoutItem *> m_items;
    int m_gap;
};
