#include "config/captions.h"

#include "config/active_label.h"
#include "config/language.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QWidget>

void setCaption(QWidget *control, const QString &caption)
{
    if (auto *label = qobject_cast<ActiveLabel *>(control))
        label->setText(caption);
    else if (auto *plain = qobject_cast<QLabel *>(control))
        plain->setText(caption);
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->setText(caption);
    else if (auto *frame = qobject_cast<QGroupBox *>(control))
        frame->setTitle(caption);
    else if (auto *edit = qobject_cast<QLineEdit *>(control))
        edit->setText(caption);
    else if (control)
        control->setWindowTitle(caption);
}

void setTextColour(QWidget *control, const QColor &colour)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, colour);
    control->setPalette(palette);
}

void applyCaptions(const CaptionTable &table, const QString &language)
{
    if (!Language::isRussian(language) && !Language::isEnglish(language))
        return;
    for (const Caption &caption : table)
        setCaption(caption.control, Language::pick(language, caption.russian, caption.english));
}
