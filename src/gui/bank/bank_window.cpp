#include "gui/bank/bank_window.h"

#include "core/bank/bank_export.h"
#include "core/bank/bank_tickets.h"
#include "core/exam/exam_folder.h"
#include "core/files/ansi_text.h"
#include "core/files/folders.h"
#include "core/files/path_names.h"
#include "gui/bank/bank_preview_model.h"
#include "gui/common/control_factory.h"
#include "gui/common/window_context.h"
#include "gui/editor/question_bitmap.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPromise>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr int ShowProgressAfterMilliseconds = 300;
constexpr int MaxTickets = 999;
constexpr int MeasuredRows = 500;

struct FormatChoice
{
    BankFormat format;
    QString caption;
    QString extension;
};

const QList<FormatChoice> &exportFormats()
{
    static const QList<FormatChoice> formats = {{BankFormat::MoodleXml, u"Moodle XML"_s, u"xml"_s},
                                                {BankFormat::Gift, u"GIFT"_s, u"gift"_s},
                                                {BankFormat::Aiken, u"Aiken"_s, u"txt"_s}};
    return formats;
}

// The exam's title as its title file holds it, without the final line end.
QString titleOf(const QString &examFolder)
{
    QString title = AnsiText::toWindowLineEnds(ExamFolder::readTitle(examFolder).value_or(QString()));
    while (title.endsWith(u'\n'))
        title.chop(1);
    return title;
}

} // namespace

BankWindow::BankWindow(const WindowContext &context, const QString &examFolder, QWidget *parent)
    : QWidget(parent), m_context(context), m_language(context.language()), m_examFolder(examFolder)
{
    setObjectName(u"FormBank"_s);
    setWindowTitle(ProgramTitle);
    m_model = new BankPreviewModel(m_language, this);
    m_slowReading = new QTimer(this);
    m_slowReading->setSingleShot(true);
    m_slowReading->setInterval(ShowProgressAfterMilliseconds);
    build();
    applyCaptions(captionTable(), m_language.value());
    nameUncaptioned();
    refreshExams();
    showSummary();
    // As large as the table wants, within the screen's free area.
    const QRect area = m_context.platform().screenArea();
    resize(std::min(980, area.width() - 40), std::min(680, area.height() - 60));
}

void BankWindow::build()
{
    auto *layout = new QVBoxLayout(this);

    auto *fileRow = new QHBoxLayout;
    cmdOpenFile = namedControl<QPushButton>(this, u"cmdOpenFile"_s, u"Открыть файл банка вопросов…"_s);
    lblFile = namedControl<QLabel>(this, u"lblFile"_s);
    lblFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    prgRead = namedControl<QProgressBar>(this, u"prgRead"_s);
    prgRead->setRange(0, 100);
    prgRead->hide();
    fileRow->addWidget(cmdOpenFile);
    fileRow->addWidget(lblFile, 1);
    fileRow->addWidget(prgRead);
    layout->addLayout(fileRow);

    lblSummary = namedControl<QLabel>(this, u"lblSummary"_s);
    lblSummary->setWordWrap(true);
    layout->addWidget(lblSummary);

    tblQuestions = namedControl<QTableView>(this, u"tblQuestions"_s);
    tblQuestions->setModel(m_model);
    tblQuestions->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblQuestions->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblQuestions->setWordWrap(true);
    tblQuestions->verticalHeader()->hide();
    tblQuestions->verticalHeader()->setDefaultSectionSize(64);
    tblQuestions->horizontalHeader()->setStretchLastSection(true);
    tblQuestions->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    tblQuestions->setColumnWidth(BankPreviewModel::Number, 44);
    tblQuestions->setColumnWidth(BankPreviewModel::Text, 300);
    tblQuestions->setColumnWidth(BankPreviewModel::Answers, 260);
    tblQuestions->setColumnWidth(BankPreviewModel::Picture, 80);
    tblQuestions->setColumnWidth(BankPreviewModel::Category, 110);
    layout->addWidget(tblQuestions, 1);

    auto *bottom = new QHBoxLayout;
    fraTickets = namedControl<QGroupBox>(this, u"fraTickets"_s, u"Билеты из вопросов"_s);
    auto *tickets = new QGridLayout(fraTickets);
    optNewExam = namedControl<QRadioButton>(fraTickets, u"optNewExam"_s, u"Новый экзамен"_s);
    txtExamName = namedControl<QLineEdit>(fraTickets, u"txtExamName"_s);
    optExistingExam = namedControl<QRadioButton>(fraTickets, u"optExistingExam"_s, u"Заменить билеты экзамена"_s);
    cboExam = namedControl<QComboBox>(fraTickets, u"cboExam"_s);
    lblTitle = namedControl<QLabel>(fraTickets, u"lblTitle"_s, u"Заголовок экзамена"_s);
    txtTitle = namedControl<QLineEdit>(fraTickets, u"txtTitle"_s);
    lblTickets = namedControl<QLabel>(fraTickets, u"lblTickets"_s, u"Билетов"_s);
    spnTickets = namedControl<QSpinBox>(fraTickets, u"spnTickets"_s);
    spnTickets->setRange(1, MaxTickets);
    spnTickets->setValue(10);
    lblQuestions = namedControl<QLabel>(fraTickets, u"lblQuestions"_s, u"Вопросов в билете"_s);
    spnQuestions = namedControl<QSpinBox>(fraTickets, u"spnQuestions"_s);
    spnQuestions->setRange(1, ExamFolder::MaxQuestions);
    spnQuestions->setValue(5);
    optInOrder = namedControl<QRadioButton>(fraTickets, u"optInOrder"_s, u"По порядку"_s);
    optRandom = namedControl<QRadioButton>(fraTickets, u"optRandom"_s, u"Случайно"_s);
    optRandom->setChecked(true);
    // Two choices in one frame: which exam, and in which order.
    auto *examChoice = new QButtonGroup(fraTickets);
    examChoice->addButton(optNewExam);
    examChoice->addButton(optExistingExam);
    auto *orderChoice = new QButtonGroup(fraTickets);
    orderChoice->addButton(optInOrder);
    orderChoice->addButton(optRandom);
    auto *order = new QHBoxLayout;
    order->addWidget(optInOrder);
    order->addWidget(optRandom);
    order->addStretch();
    chkCategories = namedControl<QCheckBox>(fraTickets, u"chkCategories"_s, u"Поровну из каждой категории"_s);
    cmdMakeExam = namedControl<QPushButton>(fraTickets, u"cmdMakeExam"_s, u"Создать билеты"_s);
    tickets->addWidget(optNewExam, 0, 0);
    tickets->addWidget(txtExamName, 0, 1, 1, 3);
    tickets->addWidget(optExistingExam, 1, 0);
    tickets->addWidget(cboExam, 1, 1, 1, 3);
    tickets->addWidget(lblTitle, 2, 0);
    tickets->addWidget(txtTitle, 2, 1, 1, 3);
    tickets->addWidget(lblTickets, 3, 0);
    tickets->addWidget(spnTickets, 3, 1);
    tickets->addWidget(lblQuestions, 3, 2);
    tickets->addWidget(spnQuestions, 3, 3);
    tickets->addLayout(order, 4, 0, 1, 2);
    tickets->addWidget(chkCategories, 4, 2, 1, 2);
    tickets->addWidget(cmdMakeExam, 5, 3);
    bottom->addWidget(fraTickets, 3);

    fraExport = namedControl<QGroupBox>(this, u"fraExport"_s, u"Экспорт экзамена"_s);
    auto *exporting = new QVBoxLayout(fraExport);
    cboExportExam = namedControl<QComboBox>(fraExport, u"cboExportExam"_s);
    cboExportTicket = namedControl<QComboBox>(fraExport, u"cboExportTicket"_s);
    cboExportFormat = namedControl<QComboBox>(fraExport, u"cboExportFormat"_s);
    for (const FormatChoice &format : exportFormats())
        cboExportFormat->addItem(format.caption);
    cmdExport = namedControl<QPushButton>(fraExport, u"cmdExport"_s, u"Экспорт…"_s);
    exporting->addWidget(cboExportExam);
    exporting->addWidget(cboExportTicket);
    exporting->addWidget(cboExportFormat);
    exporting->addWidget(cmdExport);
    exporting->addStretch();
    cmdClose = namedControl<QPushButton>(this, u"cmdClose"_s, u"Закрыть"_s);
    exporting->addWidget(cmdClose);
    bottom->addWidget(fraExport, 1);
    layout->addLayout(bottom);

    connect(cmdOpenFile, &QPushButton::clicked, this, &BankWindow::chooseFile);
    connect(cmdMakeExam, &QPushButton::clicked, this, &BankWindow::makeExam);
    connect(cmdExport, &QPushButton::clicked, this, &BankWindow::exportExam);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    connect(cboExportExam, &QComboBox::currentIndexChanged, this, &BankWindow::showExportTickets);
    connect(optNewExam, &QRadioButton::toggled, this, [this](bool isNew) {
        txtExamName->setEnabled(isNew);
        cboExam->setEnabled(!isNew);
        txtTitle->setText(isNew ? txtExamName->text() : titleOf(ExamFolder::examIn(library(), cboExam->currentText())));
    });
    connect(txtExamName, &QLineEdit::textEdited, this, [this](const QString &name) {
        if (optNewExam->isChecked())
            txtTitle->setText(name);
    });
    connect(cboExam, &QComboBox::currentTextChanged, this, [this](const QString &name) {
        if (optExistingExam->isChecked())
            txtTitle->setText(titleOf(ExamFolder::examIn(library(), name)));
    });
    connect(&m_reading, &QFutureWatcher<BankImport::Result>::progressValueChanged, prgRead, &QProgressBar::setValue);
    connect(&m_reading, &QFutureWatcher<BankImport::Result>::finished, this, &BankWindow::bankFinished);
    connect(m_slowReading, &QTimer::timeout, prgRead, &QWidget::show);
    optNewExam->setChecked(true);
    cboExam->setEnabled(false);
}

CaptionTable BankWindow::captionTable() const
{
    return {
        {cmdOpenFile, u"Открыть файл банка вопросов…"_s, u"Open a question bank file…"_s},
        {fraTickets, u"Билеты из вопросов"_s, u"Tickets from the questions"_s},
        {optNewExam, u"Новый экзамен"_s, u"New exam"_s},
        {optExistingExam, u"Заменить билеты экзамена"_s, u"Replace the tickets of the exam"_s},
        {lblTitle, u"Заголовок экзамена"_s, u"Exam title"_s},
        {lblTickets, u"Билетов"_s, u"Tickets"_s},
        {lblQuestions, u"Вопросов в билете"_s, u"Questions per ticket"_s},
        {optInOrder, u"По порядку"_s, u"In order"_s},
        {optRandom, u"Случайно"_s, u"At random"_s},
        {chkCategories, u"Поровну из каждой категории"_s, u"An equal share of each category"_s},
        {cmdMakeExam, u"Создать билеты"_s, u"Make the tickets"_s},
        {fraExport, u"Экспорт экзамена"_s, u"Export an exam"_s},
        {cmdExport, u"Экспорт…"_s, u"Export…"_s},
        {cmdClose, u"Закрыть"_s, u"Close"_s},
    };
}

void BankWindow::nameUncaptioned()
{
    // The boxes without a caption of their own are announced by what they hold.
    const struct
    {
        QWidget *control;
        QString russian;
        QString english;
    } names[] = {
        {lblFile, u"Файл банка вопросов"_s, u"Question bank file"_s},
        {prgRead, u"Чтение файла"_s, u"Reading the file"_s},
        {tblQuestions, u"Вопросы банка"_s, u"Questions of the bank"_s},
        {txtExamName, u"Имя нового экзамена"_s, u"Name of the new exam"_s},
        {cboExam, u"Экзамен, билеты которого заменить"_s, u"The exam whose tickets to replace"_s},
        {txtTitle, u"Заголовок экзамена"_s, u"Exam title"_s},
        {spnTickets, u"Билетов"_s, u"Tickets"_s},
        {spnQuestions, u"Вопросов в билете"_s, u"Questions per ticket"_s},
        {cboExportExam, u"Экзамен для экспорта"_s, u"The exam to export"_s},
        {cboExportTicket, u"Билеты для экспорта"_s, u"The tickets to export"_s},
        {cboExportFormat, u"Формат экспорта"_s, u"Export format"_s},
    };
    for (const auto &name : names) {
        const QString text = m_language.text(name.russian, name.english);
        name.control->setToolTip(text);
        name.control->setAccessibleName(text);
    }
    // The window's title is the program's name, which does not say which window it is.
    setAccessibleName(m_language.text(u"Банк вопросов"_s, u"Question bank"_s));
}

QString BankWindow::library() const
{
    return m_context.paths().examLibrary();
}

void BankWindow::say(const QString &russian, const QString &english, MessageIcon icon)
{
    // The outcome of a write is said in every language, as a failed save is.
    m_context.platform().messageBox(ProgramTitle, m_language.text(russian, english), icon);
}

void BankWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit closed();
}

void BankWindow::chooseFile()
{
    const QString folder = m_bankPath.isEmpty() ? m_context.paths().folder() : QFileInfo(m_bankPath).path();
    const QString filter = m_language.text(u"Банки вопросов (*.xml *.gift *.txt);;Все файлы (*)"_s,
                                           u"Question banks (*.xml *.gift *.txt);;All files (*)"_s);
    const QString path = m_context.platform().openFileName(cmdOpenFile->text(), folder, filter);
    if (!path.isEmpty())
        readBank(path);
}

void BankWindow::readBank(const QString &path)
{
    if (m_reading.isRunning())
        return;
    m_bankPath = path;
    lblFile->setText(QDir::toNativeSeparators(path));
    lblSummary->setText(m_language.text(u"Файл читается…"_s, u"Reading the file…"_s));
    m_model->setQuestions({});
    cmdOpenFile->setEnabled(false);
    cmdMakeExam->setEnabled(false);
    prgRead->setValue(0);
    BankImport::Options options;
    options.language = m_language;
    options.readPicture = questionBitmapOf;
    m_reading.setFuture(QtConcurrent::run(
        [](QPromise<BankImport::Result> &promise, const QString &file, BankImport::Options read) {
            promise.setProgressRange(0, 100);
            read.progress = [&promise](int percent) { promise.setProgressValue(percent); };
            promise.addResult(BankImport::readFile(file, read));
        },
        path, options));
    m_slowReading->start();
}

void BankWindow::bankFinished()
{
    m_slowReading->stop();
    prgRead->hide();
    cmdOpenFile->setEnabled(true);
    const BankImport::Result result = m_reading.future().resultCount() > 0 ? m_reading.result() : BankImport::Result();
    m_model->setQuestions(result.questions);
    // Measuring every row costs as much as drawing it: a large bank keeps rows of four lines.
    if (result.questions.size() <= MeasuredRows)
        tblQuestions->resizeRowsToContents();
    showSummary();
    if (!result.error.isEmpty()) {
        lblSummary->setText(m_language.text(u"Вопросы не прочитаны: "_s, u"No questions were read: "_s) + result.error);
        say(u"Вопросы не прочитаны из файла "_s + m_bankPath + u": "_s + result.error,
            u"No questions were read from the file "_s + m_bankPath + u": "_s + result.error, MessageIcon::Warning);
    }
    emit bankRead();
}

void BankWindow::showSummary()
{
    const BankQuestions &questions = m_model->questions();
    const qsizetype taken = std::count_if(questions.cbegin(), questions.cend(),
                                          [](const BankQuestion &question) { return question.isTaken(); });
    cmdMakeExam->setEnabled(taken > 0);
    if (m_bankPath.isEmpty()) {
        lblSummary->setText(m_language.text(u"Откройте файл в формате Moodle XML, GIFT или Aiken."_s,
                                            u"Open a file in Moodle XML, GIFT or Aiken."_s));
        return;
    }
    lblSummary->setText(m_language.text(u"Вопросов в файле: %1; войдут в билеты: %2; не войдут: %3."_s,
                                        u"Questions in the file: %1; can go into tickets: %2; cannot: %3."_s)
                            .arg(questions.size())
                            .arg(taken)
                            .arg(questions.size() - taken));
}

void BankWindow::refreshExams()
{
    QStringList exams;
    QStringList entries;
    GetFolders(library(), &entries);
    for (const QString &entry : std::as_const(entries)) {
        if (QFileInfo(entry).isDir() && ExamFolder::firstTitleMatch(entry) == ExamFolder::titleFileName())
            exams << QFileInfo(entry).fileName();
    }
    const QString current = QFileInfo(m_examFolder).fileName();
    for (QComboBox *box : {cboExam, cboExportExam}) {
        const QString kept = box->currentText();
        box->clear();
        box->addItems(exams);
        const QString wanted = kept.isEmpty() ? current : kept;
        if (exams.contains(wanted))
            box->setCurrentText(wanted);
    }
    optExistingExam->setEnabled(!exams.isEmpty());
    cmdExport->setEnabled(!exams.isEmpty());
    showExportTickets();
}

void BankWindow::showExportTickets()
{
    cboExportTicket->clear();
    cboExportTicket->addItem(m_language.text(u"Все билеты"_s, u"All tickets"_s));
    if (cboExportExam->currentText().isEmpty())
        return;
    cboExportTicket->addItems(BankExport::ticketsOf(ExamFolder::examIn(library(), cboExportExam->currentText())));
}

void BankWindow::makeExam()
{
    const bool isNew = optNewExam->isChecked();
    const QString name = isNew ? txtExamName->text() : cboExam->currentText();
    if (const PathNames::Problem problem = PathNames::problem(name); problem != PathNames::Problem::None) {
        const PathNames::Refusal why = PathNames::refusal(name, problem);
        say(why.russian, why.english, MessageIcon::Warning);
        return;
    }
    const QString title = txtTitle->text().isEmpty() ? name : txtTitle->text();
    if (!PathNames::fitsWindows1251(title)) {
        say(u"В заголовке экзамена есть символы, которых нет в кодировке Windows-1251."_s,
            u"The exam title holds characters that Windows-1251 cannot hold."_s, MessageIcon::Warning);
        return;
    }
    BankQuestions taken;
    for (const BankQuestion &question : m_model->questions()) {
        if (question.isTaken())
            taken << question;
    }
    BankTickets::Plan plan;
    plan.tickets = spnTickets->value();
    plan.questionsPerTicket = spnQuestions->value();
    plan.random = optRandom->isChecked();
    plan.equalCategories = chkCategories->isChecked();
    plan.seed = quint32(std::floor(m_context.platform().random() * 4294967296.0));
    if (const QString problem = BankTickets::problem(taken, plan, m_language); !problem.isEmpty()) {
        say(u"Билеты не созданы: "_s + problem, u"No tickets were made: "_s + problem, MessageIcon::Warning);
        return;
    }
    const QString exam = ExamFolder::examIn(library(), name);
    if (QFileInfo::exists(exam)
        && !m_context.platform().question(ProgramTitle,
                                          m_language.text(u"Экзамен «%1» уже есть. Заменить все его билеты новыми?"_s,
                                                          u"The exam \"%1\" exists. Replace all its tickets with "
                                                          u"the new ones?"_s)
                                              .arg(name)))
        return;
    const FileError error =
        BankTickets::writeExam(library(), name, title, taken, BankTickets::distribute(taken, plan));
    if (error.isError()) {
        say(u"Экзамен не записан и остался прежним. "_s + error.describe(m_language),
            u"The exam was not written and stays as it was. "_s + error.describe(m_language), MessageIcon::Warning);
        return;
    }
    say(u"Экзамен «%1» записан: билетов %2, вопросов в билете %3."_s.arg(name).arg(plan.tickets).arg(
            plan.questionsPerTicket),
        u"The exam \"%1\" is written: %2 tickets of %3 questions."_s.arg(name).arg(plan.tickets).arg(
            plan.questionsPerTicket),
        MessageIcon::Information);
    m_examFolder = exam;
    cboExportExam->setCurrentText(QString());
    refreshExams();
    cboExportExam->setCurrentText(name);
    emit examWritten(exam);
}

void BankWindow::exportExam()
{
    const QString name = cboExportExam->currentText();
    if (name.isEmpty())
        return;
    const QString exam = ExamFolder::examIn(library(), name);
    const QString ticket = cboExportTicket->currentIndex() > 0 ? cboExportTicket->currentText() : QString();
    const FormatChoice &format = exportFormats().at(std::max(0, cboExportFormat->currentIndex()));
    const BankExport::ExamQuestions read = BankExport::readExam(exam, ticket, m_language);
    const BankExport::Output output = BankExport::write(read.questions, format.format, m_language);
    const QStringList skipped = read.skipped + output.skipped;
    const int written = int(read.questions.size() - output.skipped.size());
    if (written <= 0) {
        say(u"Нечего экспортировать: в экзамене нет вопросов, которые может хранить формат "_s + format.caption
                + (skipped.isEmpty() ? QString() : u".\n"_s + skipped.join(u'\n')),
            u"Nothing to export: the exam has no questions the format "_s + format.caption + u" can hold"_s
                + (skipped.isEmpty() ? QString() : u".\n"_s + skipped.join(u'\n')),
            MessageIcon::Warning);
        return;
    }
    const QString suggested = m_context.paths().folder() + u'/' + name + (ticket.isEmpty() ? QString() : u'-' + ticket)
                              + u'.' + format.extension;
    const QString path = m_context.platform().saveFileName(
        cmdExport->text(), suggested, format.caption + u" (*."_s + format.extension + u")"_s);
    if (path.isEmpty())
        return;
    FileError error;
    if (!AnsiText::writeBytes(path, output.bytes, &error)) {
        say(u"Файл не записан: "_s + error.describe(m_language), u"The file was not written: "_s + error.describe(m_language),
            MessageIcon::Warning);
        return;
    }
    QString russian = u"Записано вопросов: %1."_s.arg(written);
    QString english = u"Questions written: %1."_s.arg(written);
    if (!skipped.isEmpty()) {
        russian += u"\nНе вошли:\n"_s + skipped.join(u'\n');
        english += u"\nLeft out:\n"_s + skipped.join(u'\n');
    }
    say(russian, english, skipped.isEmpty() ? MessageIcon::Information : MessageIcon::Warning);
}
