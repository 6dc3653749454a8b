#include "gui/exam/picture_size_window.h"

#include "core/files/fixed_point.h"
#include "gui/common/active_label.h"
#include "gui/common/control_factory.h"
#include "gui/common/window_context.h"
#include "gui/common/window_ops.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// A size in pixels typed in a box: a whole positive number by the locale's rules.
std::optional<int> pixels(const QString &text)
{
    const auto number = Fixed::parse(text);
    if (!number)
        return std::nullopt;
    const qint64 whole = number->roundedToInteger();
    if (whole <= 0 || whole > 100000)
        return std::nullopt;
    return int(whole);
}

} // namespace

PictureSizeWindow::PictureSizeWindow(const WindowContext &context) : QWidget(nullptr), m_context(context)
{
    setObjectName(u"Form3"_s);
    setWindowTitle(ProgramTitle);
    buildControls();
    connectHandlers();
    load();
}

void PictureSizeWindow::buildControls()
{
    Image1 = makeControl<QLabel>(this, u"Image1"_s, QRect(tw(10), tw(10), 0, 0));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1 = makeControl<ActiveLabel>(this, u"Label1"_s, QRect(0, 0, 20, 16), TicketMode);
    Label4 = makeControl<ActiveLabel>(this, u"Label4"_s, QRect(0, 0, 30, 16));

    Frame8 = makeControl<QGroupBox>(this, u"Frame8"_s, QRect(0, 0, 430, 200), u"Размер картинки"_s);
    Frame8->setAutoFillBackground(true);
    Option1 = makeControl<QRadioButton>(Frame8, u"Option1"_s, QRect(10, 24, 410, 22),
                                 u"Реальный размер картинки изменен на постоянный размер"_s);
    Option2 = makeControl<QRadioButton>(Frame8, u"Option2"_s, QRect(10, 50, 410, 22),
                                 u"Размер соответствует реальному размеру  картинки"_s);
    Text4 = makeControl<QLineEdit>(Frame8, u"Text4"_s, QRect(10, 80, 70, 24));
    Text1 = makeControl<QLineEdit>(Frame8, u"Text1"_s, QRect(96, 80, 70, 24));
    Label12 = makeControl<ActiveLabel>(Frame8, u"Label12"_s, QRect(172, 83, 50, 18), u"пик"_s);
    Label2 = makeControl<ActiveLabel>(Frame8, u"Label2"_s, QRect(10, 112, 80, 18));
    Label3 = makeControl<ActiveLabel>(Frame8, u"Label3"_s, QRect(96, 112, 120, 18));
    Check1 = makeControl<QCheckBox>(Frame8, u"Check1"_s, QRect(10, 150, 150, 24), u"Ввести"_s);
    Command2 = makeControl<QPushButton>(Frame8, u"Command2"_s, QRect(300, 150, 110, 32), u"Закрыть"_s);
    Command2->setToolTip(u"Закрыть окно"_s);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(u"Timer1"_s);
    Timer1->setInterval(100);
    Timer1->setSingleShot(true);
}

void PictureSizeWindow::connectHandlers()
{
    connect(Timer1, &QTimer::timeout, this, &PictureSizeWindow::onTimer1);
    connect(Option1, &QRadioButton::clicked, this, [this] { stretch(Text4->text(), Text1->text()); });
    connect(Option2, &QRadioButton::clicked, this, &PictureSizeWindow::unstretch);
    const auto sizeTyped = [this] {
        if (Option1->isChecked())
            stretch(Text4->text(), Text1->text());
    };
    connect(Text4, &QLineEdit::textChanged, this, sizeTyped);
    connect(Text1, &QLineEdit::textChanged, this, sizeTyped);
    connect(Command2, &QPushButton::clicked, this, &PictureSizeWindow::closeWindow);
}

void PictureSizeWindow::load()
{
    Label4->setText(m_context.settings().language());
    // The window covers the screen's area for windows, its frame and title bar included.
    const QRect screen = AvailableArea().marginsRemoved(WindowFrame(this));
    setGeometry(screen);
    Frame8->move(std::max(0, screen.width() - Frame8->width() - 10), 10);
    Label1->hide();
    Label4->hide();
    Timer1->start();
    Text4->setText(m_context.settings().pictureWidth());
    Text1->setText(m_context.settings().pictureHeight());
    applyToolTips({{Command2, u"Закрыть окно"_s, u"Close the window"_s}}, Label4->text());
    applyCaptions(captionTable(), Label4->text());
    applySpokenNames({{this, u"Картинка вопроса"_s, u"Picture of the question"_s}}, Label4->text());
}

CaptionTable PictureSizeWindow::captionTable() const
{
    return {
        {Frame8, u"Размер картинки"_s, u"Size of picture"_s},
        {Option1, u"Реальный размер картинки изменен на постоянный размер"_s,
         u"Real size of picture is changed on the constant size"_s},
        {Label12, u"пик"_s, u"pixel"_s},
        {Option2, u"Размер соответствует реальному размеру картинки"_s,
         u"Size corresponds a real the size pictures"_s},
        {Check1, u"Ввести"_s, u"To Enter"_s},
        {Command2, u"Закрыть"_s, u"To Close"_s},
    };
}

void PictureSizeWindow::showEditorPicture(const QImage &picture, const QString &widthCaption,
                                          const QString &heightCaption)
{
    Label1->setText(EditorMode);
    // The real size of the editor's picture, beside the boxes of the fixed size.
    Label2->setText(widthCaption + u" "_s);
    Label3->setText(heightCaption + u"  пик"_s);
    m_editorPicture = picture;
}

void PictureSizeWindow::onTimer1()
{
    Timer1->stop();
    if (Label1->text() == EditorMode) {
        Frame8->show();
        if (m_editorPicture)
            showPicture(QPixmap::fromImage(*m_editorPicture));
    } else if (Label1->text() == TicketMode) {
        startTicketMode();
    }
}

void PictureSizeWindow::startTicketMode()
{
    // Image1 already holds the ticket's picture: the ticket hands over each one it opens.
    Frame8->hide();
    const SettingsRecord &settings = m_context.settings();
    if (settings.pictureSize() == SettingsRecord::PictureSize::Fixed) {
        const QString width = settings.pictureWidth();
        const QString height = settings.pictureHeight();
        if (width.isEmpty() || height.isEmpty()) {
            m_besideTicket = true;
            return;
        }
        // A size that is not a number leaves the picture at its own size.
        stretch(width, height);
    } else {
        unstretch();
    }
    m_besideTicket = true;
    emit besideWindowPlaced(rightOfPicture());
}

int PictureSizeWindow::rightOfPicture() const
{
    return Image1->x() + Image1->width() + tw(100);
}

void PictureSizeWindow::keepRoomBeside(int width)
{
    m_besideWidth = std::max(0, width);
}

void PictureSizeWindow::showAtSize(const QSize &wanted)
{
    // The part of the window on the screen: a window manager may leave a window wider than a
    // small or scaled screen, and the ticket beside the picture must still find its room.
    const int inside = isVisible() ? std::min(width(), AvailableArea().right() + 1 - geometry().left()) : width();
    const QSize room(inside - Image1->x() - tw(100) - m_besideWidth, height() - 2 * Image1->y());
    QSize size = wanted;
    if (size.width() > room.width() || size.height() > room.height()) {
        size = room.isEmpty() ? QSize(0, 0) : size.scaled(room, Qt::KeepAspectRatio);
        // Too small to read beside the ticket (a small screen, a large scale factor): the
        // picture takes room from the ticket, which becomes narrower and scrolls.
        const int shortSide = std::min(wanted.width(), wanted.height());
        const QSize whole(inside - Image1->x() - tw(100) - LeastTicketWidth, room.height());
        if (std::min(size.width(), size.height()) < std::min(ReadableSide, shortSide) && !whole.isEmpty()) {
            const QSize readable = shortSide > ReadableSide ? wanted * (double(ReadableSide) / shortSide) : wanted;
            size = readable.width() <= whole.width() && readable.height() <= whole.height()
                       ? readable
                       : wanted.scaled(whole, Qt::KeepAspectRatio);
        }
    }
    // The label draws the picture at its own size: the real size, the fixed one, or scaled down.
    Image1->setScaledContents(true);
    Image1->resize(size);
}

void PictureSizeWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The window can end up with another size than it asked for (a window manager fitting it
    // to a small or scaled screen after the picture was shown): the picture is sized again for
    // the room it really has, and the window beside it follows.
    if (Image1->pixmap().isNull())
        return;
    showAtSize(m_fixedSize.value_or(Image1->pixmap().size()));
    if (m_besideTicket)
        emit besideWindowPlaced(rightOfPicture());
}

void PictureSizeWindow::showPicture(const QPixmap &picture, const QString &description)
{
    Image1->setPixmap(picture);
    Image1->setAccessibleName(description);
    if (!m_fixedSize)
        showAtSize(picture.size());
    if (m_besideTicket && !picture.isNull())
        emit besideWindowPlaced(rightOfPicture());
}

bool PictureSizeWindow::stretch(const QString &width, const QString &height)
{
    const auto w = pixels(width);
    const auto h = pixels(height);
    if (!w || !h)
        return false;
    m_fixedSize = QSize(*w, *h);
    showAtSize(*m_fixedSize);
    return true;
}

void PictureSizeWindow::unstretch()
{
    m_fixedSize.reset();
    showAtSize(Image1->pixmap().size());
}

void PictureSizeWindow::closeWindow()
{
    Label1->setText(TicketMode);
    if (Check1->isChecked()) {
        SettingsRecord &settings = m_context.settings();
        settings.setPictureWidth(Text4->text());
        settings.setPictureHeight(Text1->text());
        settings.setPictureSize(Option1->isChecked() ? SettingsRecord::PictureSize::Fixed
                                                     : SettingsRecord::PictureSize::Real);
    }
    emit closed();
}
