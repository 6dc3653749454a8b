#include "gui/common/captions.h"

#include "core/program/language_policy.h"
#include "gui/common/active_label.h"

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

QColor readableTextOn(const QColor &background)
{
    // Perceived brightness (ITU-R BT.601 weights, 0 to 255); pure red and dark green fall
    // below the threshold and take white, yellow and the light greys take black.
    const QColor rgb = background.toRgb();
    const int brightness = (299 * rgb.red() + 587 * rgb.green() + 114 * rgb.blue()) / 1000;
    return brightness < 140 ? QColor(Qt::white) : QColor(Qt::black);
}

void setBackground(QWidget *control, const QColor &colour)
{
    const QColor text = readableTextOn(colour);
    QPalette palette = control->palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button, QPalette::Base})
        palette.setColor(role, colour);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        palette.setColor(role, text);
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

namespace {

QString captionForScreenReaders(const QWidget *control)
{
    QString caption;
    if (auto *label = qobject_cast<const QLabel *>(control))
        caption = label->text();
    else if (auto *button = qobject_cast<const QAbstractButton *>(control))
        caption = button->text();
    else if (auto *frame = qobject_cast<const QGroupBox *>(control))
        caption = frame->title();
    return caption.trimmed();
}

} // namespace

void nameControlsForScreenReaders(QWidget *window)
{
    if (!window)
        return;
    // A captioned control is announced by its caption, which Qt reads as it changes; a control
    // without one gets its tooltip as its name. A name given by the program otherwise stays.
    for (QWidget *control : window->findChildren<QWidget *>()) {
        const QString given = control->property("tavringSpokenName").toString();
        if (!control->accessibleName().isEmpty() && control->accessibleName() != given)
            continue;
        const QString name = captionForScreenReaders(control).isEmpty() ? control->toolTip() : QString();
        control->setAccessibleName(name);
        control->setProperty("tavringSpokenName", name);
    }
}

void applyCaptions(const CaptionTable &table, const QString &language)
{
    if (LanguagePolicy(language).isKnown()) {
        for (const Caption &caption : table)
            setCaption(caption.control, LanguagePolicy(language).message(caption.russian, caption.english));
    }
    if (!table.empty() && table.front().control)
        nameControlsForScreenReaders(table.front().control->window());
}

void applySpokenNames(const CaptionTable &table, const QString &language)
{
    const LanguagePolicy policy(language);
    for (const Caption &name : table) {
        if (name.control)
            name.control->setAccessibleName(policy.text(name.russian, name.english));
    }
}

void applyToolTips(const CaptionTable &table, const QString &language)
{
    const LanguagePolicy policy(language);
    for (const Caption &tip : table) {
        if (tip.control)
            tip.control->setToolTip(policy.text(tip.russian, tip.english));
    }
}
