#pragma once

#include <QString>
#include <QWidget>

class QPushButton;
class QTextBrowser;

// The user guide in the program: the HTML pages with their pictures, links between them, and
// "Назад"/"Вперёд" through the pages seen. It is shown beside the window the user works in
// without taking the keyboard from it, so that a student's typing never goes into the guide.
class HelpWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Opens the page of the guide in the captions of the language; a page already shown stays
    // where it was read.
    void showPage(const QString &path, const QString &language);
    QString page() const;

private:
    static constexpr int LeastWidth = 420;
    // The width the start window takes in the middle of the screen, its frame included.
    static constexpr int RoomOfStartWindow = 560;

    void applyLanguage(const QString &language);

    QTextBrowser *helpBrowser;
    QPushButton *cmdBack;
    QPushButton *cmdForward;
    QPushButton *cmdClose;
    QString m_language;
};
