#pragma once

#include "gui/common/captions.h"

#include <QImage>
#include <QWidget>

#include <optional>

class ActiveLabel;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPixmap;
class QPushButton;
class QRadioButton;
class QTimer;
class WindowContext;

// Form3: a question's picture on the whole screen. The hidden label Label1 holds the mode:
// "0" (as designed) beside a ticket, where the picture takes the picture size settings and
// the window beside it is asked to stand to its right; "1" for the exam editor, with the
// sizing panel Frame8 where a fixed size is tried and written into the settings record.
// Whoever opens the window in editor mode hands it the editor's picture before Timer1 fires.
class PictureSizeWindow final : public QWidget
{
    Q_OBJECT

public:
    static inline const QString TicketMode = QStringLiteral("0");
    static inline const QString EditorMode = QStringLiteral("1");
    // A picture is not made smaller than this on its short side while the window has room,
    // and the ticket beside it keeps at least this width.
    static constexpr int ReadableSide = 200;
    static constexpr int LeastTicketWidth = 240;

    explicit PictureSizeWindow(const WindowContext &context);

    // Timer1's one tick 100 ms after load: the start-up step of the mode in Label1.
    void onTimer1();

    // Editor mode, for the exam editor's picture at its real size, captioned as the editor
    // captions it ("Длина: 640", "Высота: 480").
    void showEditorPicture(const QImage &picture, const QString &widthCaption,
                           const QString &heightCaption);

    // Shows a picture in Image1 (a null picture clears it): at the picture's own size, or
    // within the fixed size while the picture is stretched. Beside a ticket, once started,
    // the window beside it is then asked to move to the right of the new picture, so that it
    // never covers it. The description is what a screen reader says of the picture.
    void showPicture(const QPixmap &picture, const QString &description = QString());

    // The left edge of a window standing 100 twips to the right of the picture.
    int rightOfPicture() const;
    // The ticket window, this wide with its frame, stands beside the picture: a picture (or a
    // fixed size) larger than the rest of this window is scaled down to fit, keeping its
    // proportions.
    void keepRoomBeside(int width);

signals:
    // The window beside the picture should stand at this left edge.
    void besideWindowPlaced(int left);
    // "Закрыть" of the sizing panel, after the size was written into the settings when asked.
    void closed();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QLabel *Image1;
    ActiveLabel *Label1;
    ActiveLabel *Label4;
    QTimer *Timer1;

    // The sizing panel.
    QGroupBox *Frame8;
    QRadioButton *Option1;
    QRadioButton *Option2;
    QLineEdit *Text4;
    QLineEdit *Text1;
    ActiveLabel *Label12;
    ActiveLabel *Label2;
    ActiveLabel *Label3;
    QCheckBox *Check1;
    QPushButton *Command2;

    void buildControls();
    void connectHandlers();
    void load();
    CaptionTable captionTable() const;

    void startTicketMode();
    // Stretches Image1 to the width and height in pixels when both are positive numbers;
    // false, and nothing changed, otherwise.
    bool stretch(const QString &width, const QString &height);
    void unstretch();
    // Shows the picture at the wanted size, or scaled down to the room this window has.
    void showAtSize(const QSize &wanted);
    void closeWindow();

    const WindowContext &m_context;
    bool m_besideTicket = false;
    int m_besideWidth = 0;
    // The fixed size the picture is stretched to; none while it shows at its real size.
    std::optional<QSize> m_fixedSize;
    std::optional<QImage> m_editorPicture;
};
