#include "gui/chooser/exam_chooser_window.h"

#include "core/exam/exam_folder.h"
#include "core/exam/question_count.h"
#include "core/program/language_policy.h"
#include "core/program/settings_record.h"
#include "gui/common/active_label.h"
#include "gui/common/control_factory.h"
#include "gui/common/window_context.h"
#include "gui/common/window_ops.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QStringListModel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QRect MainPanel(tw(120), tw(120), tw(7815), tw(3135));
// Over the main panel, its own caption covering the caption of the main panel.
const QRect MismatchPanel(tw(120), tw(120), tw(7575), tw(2775));

// The nearest existing folder at or above the path, as a clean absolute path.
QString existingFolder(const QString &path)
{
    QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            break;
        folder = parent;
    }
    return folder;
}

bool isInside(const QString &path, const QString &root)
{
    return path == root || path.startsWith(root.endsWith(u'/') ? root : root + u'/');
}

} // namespace

ExamChooserWindow::ExamChooserWindow(const WindowContext &context, QWidget *parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(u"Form9"_s);
    setWindowTitle(u"Тест-Тавринг "_s);
    setFixedSize(MainPanel.width() + 2 * MainPanel.left(), MainPanel.height() + 2 * MainPanel.top());
    buildControls();
    connectHandlers();
    load();
}

void ExamChooserWindow::buildControls()
{
    Frame11 = makeControl<QGroupBox>(this, u"Frame11"_s, MainPanel, u"Выбрать тест-экзамен"_s);
    Drive1 = makeControl<QComboBox>(Frame11, u"Drive1"_s, QRect(tw(120), tw(240), tw(2175), 22));
    fillDrives();

    Dir1 = makeControl<QTreeView>(Frame11, u"Dir1"_s, QRect(tw(120), tw(600), tw(2175), tw(1890)));
    m_folders = new QFileSystemModel(this);
    m_folders->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    m_folders->setReadOnly(true);
    m_folders->setRootPath(QDir::rootPath());
    Dir1->setModel(m_folders);
    m_reveal = new QTimer(this);
    m_reveal->setSingleShot(true);
    m_reveal->setInterval(100);
    Dir1->setHeaderHidden(true);
    for (int column = 1; column < m_folders->columnCount(); ++column)
        Dir1->hideColumn(column);
    Dir1->setIndentation(12);
    Dir1->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    Dir1->header()->setStretchLastSection(false);
    // A click must select the folder under the pointer: the view does not scroll by itself
    // when the current folder changes (it would scroll sideways to the start of a wide
    // name and move the rows under the pointer); treeMoved scrolls up and down only.
    Dir1->setAutoScroll(false);

    Text1 = makeControl<QLineEdit>(Frame11, u"Text1"_s, QRect(tw(2400), tw(240), tw(5295), 22));
    Command1 = makeControl<QPushButton>(Frame11, u"Command1"_s, QRect(tw(2400), tw(720), 96, 28), u"Принять"_s);
    Text4 = makeControl<QLineEdit>(Frame11, u"Text4"_s, QRect(tw(2400) + 104, tw(720) + 2, tw(5295) - 104, 24));
    Text4->setReadOnly(true);
    Text4->setStyleSheet(u"color: #b00000;"_s);
    List1 = makeControl<QListView>(Frame11, u"List1"_s, QRect(tw(2400), tw(1200), tw(5295), tw(1230)));
    // The folder's entries as one list of texts: an exam of thousands of tickets is shown
    // without an item object per entry, and the view measures only when it lays out.
    List1->setModel(new QStringListModel(List1));
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Label8 = makeControl<ActiveLabel>(Frame11, u"Label8"_s, QRect(tw(120), tw(2520), 260, 18),
                               u"Вернутся к папке с экзаменами"_s);
    Label8->setClickable(true);
    Command2 = makeControl<QPushButton>(Frame11, u"Command2"_s, QRect(tw(6240), tw(2520) - 6, 96, 30), u"Закрыть"_s);

    Frame1 = makeControl<QGroupBox>(this, u"Frame1"_s, MismatchPanel, u"Внимание!"_s);
    Frame1->setAutoFillBackground(true);
    const int width = MismatchPanel.width();
    Label1 = makeControl<ActiveLabel>(Frame1, u"Label1"_s, QRect(12, 20, width - 24, 40),
                               u"Количество билетов не соответствует настройкам! Установить новое  количество билетов в настройках?"_s);
    Label1->setWordWrap(true);
    Label5 = makeControl<ActiveLabel>(Frame1, u"Label5"_s, QRect(180, 66, 110, 18), u"Билетов"_s);
    Label6 = makeControl<ActiveLabel>(Frame1, u"Label6"_s, QRect(310, 66, 110, 18), u"Вопросов"_s);
    Label2 = makeControl<ActiveLabel>(Frame1, u"Label2"_s, QRect(40, 91, 130, 18), u"Установлено"_s);
    Text6 = makeControl<QLineEdit>(Frame1, u"Text6"_s, QRect(180, 88, 110, 24));
    Text7 = makeControl<QLineEdit>(Frame1, u"Text7"_s, QRect(310, 88, 110, 24));
    Label3 = makeControl<ActiveLabel>(Frame1, u"Label3"_s, QRect(40, 121, 130, 18), u"Новое"_s);
    Text2 = makeControl<QLineEdit>(Frame1, u"Text2"_s, QRect(180, 118, 110, 24));
    Text8 = makeControl<QLineEdit>(Frame1, u"Text8"_s, QRect(310, 118, 110, 24));
    Command4 = makeControl<QPushButton>(Frame1, u"Command4"_s, QRect(width / 2 - 110, 150, 100, 28), u"Да"_s);
    Command5 = makeControl<QPushButton>(Frame1, u"Command5"_s, QRect(width / 2 + 10, 150, 100, 28), u"Нет"_s);

    List2 = makeControl<QListWidget>(this, u"List2"_s, QRect(0, 0, 10, 10));
    Text3 = makeControl<QLineEdit>(this, u"Text3"_s, QRect(0, 0, 10, 10));
    Text5 = makeControl<QLineEdit>(this, u"Text5"_s, QRect(0, 0, 10, 10));
    Label4 = makeControl<ActiveLabel>(this, u"Label4"_s, QRect(0, 0, 10, 10));
    Text3->hide();
    Text5->hide();
    Label4->hide();
}

// The mounted volumes stand for the drives: the root first, then the others by path.
void ExamChooserWindow::fillDrives()
{
    const QString root = QDir::rootPath();
    QStringList roots{root};
    QStringList names{QString()};
    QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    std::sort(volumes.begin(), volumes.end(),
              [](const QStorageInfo &a, const QStorageInfo &b) { return a.rootPath() < b.rootPath(); });
    for (const QStorageInfo &volume : std::as_const(volumes)) {
        const QString path = volume.rootPath();
        if (!volume.isValid() || !volume.isReady() || !QFileInfo(path).isDir())
            continue;
        const int at = int(roots.indexOf(path));
        if (at >= 0) {
            if (names[at].isEmpty())
                names[at] = volume.name();
            continue;
        }
        roots << path;
        names << volume.name();
    }
    for (qsizetype i = 0; i < roots.size(); ++i) {
        const QString caption = names[i].isEmpty() ? roots[i] : roots[i] + u" ["_s + names[i] + u']';
        Drive1->addItem(caption, roots[i]);
    }
}

void ExamChooserWindow::connectHandlers()
{
    connect(Drive1, &QComboBox::currentIndexChanged, this, &ExamChooserWindow::driveChanged);
    connect(Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) { treeMoved(current); });
    // The model reads folders in the background and sorts what it has read a moment later;
    // once a folder on the way to the current one is read and sorted, the tree is scrolled
    // to the current folder again.
    connect(m_folders, &QFileSystemModel::directoryLoaded, this, [this](const QString &loaded) {
        if (m_revealPending && isInside(m_folder, loaded))
            m_reveal->start();
    });
    connect(m_reveal, &QTimer::timeout, this, &ExamChooserWindow::revealFolder);
    connect(Text1, &QLineEdit::textChanged, this, &ExamChooserWindow::testFolder);
    connect(Command1, &QPushButton::clicked, this, &ExamChooserWindow::accept);
    connect(Label8, &ActiveLabel::clicked, this, [this] { setFolder(library()); });
    connect(Command2, &QPushButton::clicked, this, &ExamChooserWindow::closed);
    connect(Command4, &QPushButton::clicked, this, &ExamChooserWindow::takeCounts);
    connect(Command5, &QPushButton::clicked, this, &ExamChooserWindow::keepCounts);
}

void ExamChooserWindow::load()
{
    DisableXbutton(this);
    const SettingsRecord &settings = m_context.settings();
    Label4->setText(settings.language());
    Text1->setText(settings.examFolder());
    Frame1->hide();
    List2->hide();
    // With an exam already chosen the tree opens on the exam library, not on that exam.
    if (!Text1->text().isEmpty()) {
        setFolder(library());
        Text6->setText(settings.tickets());
    }
    applyCaptions(captionTable(), Label4->text());
    applySpokenNames({{this, u"Выбор экзамена или теста"_s, u"Choice of an exam or a test"_s},
                      {Drive1, u"Диск"_s, u"Drive"_s},
                      {Dir1, u"Папки"_s, u"Folders"_s},
                      {Text1, u"Выбранная папка"_s, u"Chosen folder"_s},
                      {Text4, u"Принятая папка"_s, u"Accepted folder"_s},
                      {List1, u"Содержимое папки"_s, u"Contents of the folder"_s}},
                     Label4->text());
}

CaptionTable ExamChooserWindow::captionTable() const
{
    return {
        {Frame11, u"Выбрать тест-экзамен"_s, u"To Choose a test-exam"_s},
        {Command1, u"Принять"_s, u"To Take"_s},
        {Command2, u"Закрыть"_s, u"To Close"_s},
        {Frame1, u"Внимание!"_s, u"Attention!"_s},
        {Label2, u"Установлено"_s, u"Stated"_s},
        {Label3, u"Новое"_s, u"New"_s},
        {Label1, u"Количество билетов не соответствует настройкам! Установить новое  количество билетов в настройках?"_s,
         u"Amount of tickets does not correspond adjustment! To Install a new amount of tickets in adjustment?"_s},
        {Command4, u"Да"_s, u"Yes"_s},
        {Command5, u"Нет"_s, u"No"_s},
        {Label8, u"Вернутся к папке с экзаменами"_s, u"Returned to file with exams"_s},
        {Label5, u"Билетов"_s, u"Tickets"_s},
        {Label6, u"Вопросов"_s, u"Questions"_s},
    };
}

QString ExamChooserWindow::library() const
{
    return m_context.paths().examLibrary();
}

void ExamChooserWindow::setFolder(const QString &folder)
{
    const QString target = existingFolder(folder);
    m_folder = target;
    m_revealPending = true;
    revealFolder();
    // The box follows even when the tree was already there, so that returning to a folder
    // also undoes a path typed into the box.
    followFolder(target);
}

// Selects the current folder in the tree, unfolded and scrolled into view, without
// reporting it as a move.
void ExamChooserWindow::revealFolder()
{
    const QModelIndex index = m_folders->index(m_folder);
    if (index.isValid()) {
        m_revealing = true;
        Dir1->setCurrentIndex(index);
        m_revealing = false;
        Dir1->expand(index);
        Dir1->scrollTo(index, QAbstractItemView::PositionAtCenter);
        // Deep folders are indented far to the right: show the start of the name.
        const int left = Dir1->visualRect(index).left();
        if (left < 0 || left > Dir1->viewport()->width() / 2) {
            QScrollBar *across = Dir1->horizontalScrollBar();
            across->setValue(across->value() + left - Dir1->indentation());
        }
    } else {
        Dir1->clearSelection();
    }
}

void ExamChooserWindow::driveChanged(int index)
{
    const QString root = Drive1->itemData(index).toString();
    if (!root.isEmpty())
        setFolder(root);
}

void ExamChooserWindow::treeMoved(const QModelIndex &current)
{
    if (!current.isValid() || m_revealing)
        return;
    // The user moves the tree now; it is no longer scrolled back to where it was set.
    m_revealPending = false;
    m_reveal->stop();
    QScrollBar *across = Dir1->horizontalScrollBar();
    const int keep = across->value();
    Dir1->scrollTo(current);
    across->setValue(keep);
    followFolder(m_folders->filePath(current));
}

// The folder box follows the tree, and the drive list shows the volume that holds it.
void ExamChooserWindow::followFolder(const QString &folder)
{
    m_folder = folder;
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < Drive1->count(); ++i) {
        const QString root = Drive1->itemData(i).toString();
        if (isInside(folder, root) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    if (best >= 0) {
        const QSignalBlocker blocker(Drive1);
        Drive1->setCurrentIndex(best);
    }
    Text1->setText(folder);
}

// An exam folder holds the first ticket folder "b1", and that holds the answers of its first
// question; "Принять" is offered only for a folder with "b1".
void ExamChooserWindow::testFolder(const QString &folder)
{
    const QString firstTicket = ExamFolder::ticketFolderName(u"1"_s);
    Text3->setText(QuestionCount::entryName(folder, firstTicket));
    if (Text3->text() != firstTicket) {
        say(u"В папке билетов нет"_s, u"In file of tickets no"_s);
        Text4->show();
        Command1->setEnabled(false);
        return;
    }
    Text4->clear();
    Text4->hide();
    Command1->setEnabled(true);
    const QString firstAnswers = ExamFolder::answersFile(1);
    Text5->setText(QuestionCount::entryName(ExamTicket(folder, u"1"_s).folder(), firstAnswers));
    if (Text5->text() != firstAnswers) {
        say(u"Отсутствует вопрос"_s, u"Is Absent question"_s);
        Text4->show();
    } else {
        Text4->clear();
        Text4->hide();
    }
}

// The message line in the language; for another language it keeps what it said.
void ExamChooserWindow::say(const QString &russian, const QString &english)
{
    const QString text = LanguagePolicy(Label4->text()).message(russian, english);
    if (!text.isEmpty())
        Text4->setText(text);
}

int ExamChooserWindow::countTickets()
{
    const ExamFolder::Entries entries = ExamFolder::entries(Text1->text());
    static_cast<QStringListModel *>(List1->model())->setStringList(entries.paths);
    return entries.tickets;
}

void ExamChooserWindow::accept()
{
    const QString folder = Text1->text();
    const QString tickets = QString::number(countTickets());
    Text2->setText(tickets);

    List2->clear();
    const std::unique_ptr<FolderWalker> walker = m_context.platform().folderWalker();
    if (!walker) {
        askForRegistration();
        return;
    }
    const QStringList questionFiles = QuestionCount::textFiles(*walker, ExamTicket(folder, u"1"_s).folder());
    List2->addItems(questionFiles);
    Text8->setText(QuestionCount::questionsText(questionFiles.size()));
    // The message line gets the ticket count too. The folder is listed once: counting it
    // again would find what the first count found.
    Text4->setText(tickets);

    SettingsRecord &settings = m_context.settings();
    Text6->setText(settings.tickets());
    Text7->setText(settings.questions());
    settings.setExamFolder(folder);
    emit examAccepted();

    if (Text8->text() != Text7->text() || Text2->text() != Text6->text()) {
        Frame1->setGeometry(MismatchPanel);
        Frame1->raise();
        Frame1->show();
    }
}

// Without the walker the questions cannot be counted: the registration utility in the
// program folder sets it up.
void ExamChooserWindow::askForRegistration()
{
    const LanguagePolicy language(Label4->text());
    m_context.message(ProgramTitle,
                      language.englishUnlessRussian(u"Зарегистрируйте библиотеку scrrun.dll. Активируйте утилиту ventaro.exe"_s,
                                                    u"Register scrrun.dll library. Actuate utility ventaro.exe"_s));
    m_context.platform().startProgram(m_context.paths().registrationUtility());
    m_context.sayIfNotSaved(SettingsRecord::saveRegistrationFlag(m_context.paths().settingsFile(), u"1"_s),
                            language.value());
}

// "Да": the counts found become the settings, and the pass score has to be set anew.
void ExamChooserWindow::takeCounts()
{
    SettingsRecord &settings = m_context.settings();
    settings.setExamFolder(Text1->text());
    settings.setTickets(Text2->text());
    settings.setPassScore(u"0"_s);
    settings.setQuestions(Text8->text());
    Frame1->hide();
    emit closed();
}

void ExamChooserWindow::keepCounts()
{
    m_context.settings().setExamFolder(Text1->text());
    Frame1->hide();
    emit closed();
}
