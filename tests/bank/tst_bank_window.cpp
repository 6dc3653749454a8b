#include "app/application.h"
#include "core/files/ansi_text.h"
#include "gui/bank/bank_preview_model.h"
#include "gui/bank/bank_window.h"
#include "gui/chooser/exam_chooser_window.h"
#include "gui/editor/exam_editor_window.h"
#include "gui/exam/ticket_window.h"
#include "gui/settings/settings_window.h"
#include "support/controls.h"
#include "support/program_folder.h"
#include "support/roads.h"

#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A GIFT bank of a category of ten questions (the fourth with a picture), a true/false one,
// and one that cannot go into a ticket.
QByteArray giftBank()
{
    QImage image(8, 5, QImage::Format_RGB32);
    image.fill(QColor(0, 90, 200));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    QString bank = u"$CATEGORY: $course$/top/География\n\n"_s;
    for (int i = 1; i <= 10; ++i) {
        bank += u"::В%1::"_s.arg(i);
        if (i == 4)
            bank += u"[html]Вопрос 4<img src=\"data\\:image/png;base64,"_s + QString::fromLatin1(png.toBase64())
                    + u"\">"_s;
        else
            bank += u"Вопрос %1"_s.arg(i);
        bank += u" {=верно %1 ~неверно %1 ~мимо %1}\n\n"_s.arg(i);
    }
    bank += u"Земля круглая? {T}\n\nСопоставьте {=a -> 1 =b -> 2 =c -> 3}\n"_s;
    return bank.toUtf8();
}

} // namespace

class BankWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void importsExportsAndTakesTheExam_data();
    void importsExportsAndTakesTheExam();
    void badFileWritesNothing();
    void failedWriteKeepsTheExam();

private:
    BankWindow *openBankWindow(ProgramFolder &folder, const QString &language);
    bool readBank(ProgramFolder &folder, BankWindow *window, const QString &path);
};

BankWindow *BankWindowTest::openBankWindow(ProgramFolder &folder, const QString &language)
{
    folder.writeSettings({u"bilet=2"_s, u"vopros=3"_s, u"ball=4"_s, u"re="_s + language, u"z="_s});
    Application &app = folder.start();
    app.showSettings();
    click(app.settingsWindow(), "Label8");
    ExamEditorWindow *editor = app.examEditor();
    if (!editor)
        return nullptr;
    // The import is in the editing panel, behind the settings' password, with an exam open.
    click(editor, "Command9");
    control<QLineEdit>(editor, "Text9")->setText(u"Первый"_s);
    click(editor, "Command5");
    click(editor, "cmdImport");
    return app.bankWindow();
}

bool BankWindowTest::readBank(ProgramFolder &folder, BankWindow *window, const QString &path)
{
    QSignalSpy read(window, &BankWindow::bankRead);
    folder.platform.fileAnswers.enqueue(path);
    click(window, "cmdOpenFile");
    return read.wait(20000);
}

void BankWindowTest::importsExportsAndTakesTheExam_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("trueAnswer");
    QTest::addColumn<QString>("refusal");

    QTest::newRow("rus") << u"rus"_s << u"Импорт вопросов"_s << u"Верно"_s
                         << u"не вопрос с одним правильным ответом"_s;
    QTest::newRow("eng") << u"eng"_s << u"Import questions"_s << u"True"_s << u"not a question with one right answer"_s;
}

// The teacher opens a bank from the editor, sees its questions, makes an exam of four tickets
// of three questions, which the exam chooser then takes and a student answers, and exports it
// to Aiken, which lists the question with a picture.
void BankWindowTest::importsExportsAndTakesTheExam()
{
    QFETCH(QString, language);
    QFETCH(QString, button);
    QFETCH(QString, trueAnswer);
    QFETCH(QString, refusal);

    ProgramFolder folder;
    folder.writeBytes(u"банк.gift"_s, giftBank());
    BankWindow *window = openBankWindow(folder, language);
    QVERIFY(window);
    QCOMPARE(control<QPushButton>(folder.app().examEditor(), "cmdImport")->text(), button);
    QVERIFY(window->isVisible());
    QVERIFY(readBank(folder, window, folder.path(u"банк.gift"_s)));

    QAbstractItemModel *table = control<QTableView>(window, "tblQuestions")->model();
    QCOMPARE(table->rowCount(), 12);
    const auto cell = [table](int row, int column) { return table->index(row, column).data().toString(); };
    QCOMPARE(cell(0, BankPreviewModel::Text), u"Вопрос 1"_s);
    QCOMPARE(cell(0, BankPreviewModel::Answers),
             BankPreviewModel::rightMark() + u"верно 1\n    неверно 1\n    мимо 1"_s);
    QCOMPARE(cell(0, BankPreviewModel::Category), u"География"_s);
    QVERIFY(table->index(3, BankPreviewModel::Picture).data(Qt::DecorationRole).isValid());
    QVERIFY(cell(10, BankPreviewModel::Answers).contains(BankPreviewModel::rightMark() + trueAnswer));
    QCOMPARE(cell(11, BankPreviewModel::Reason), refusal);
    QCOMPARE(cell(0, BankPreviewModel::Reason), QString());

    control<QLineEdit>(window, "txtExamName")->setText(u"Из банка"_s);
    control<QLineEdit>(window, "txtTitle")->setText(u"География, 7 класс"_s);
    control<QSpinBox>(window, "spnTickets")->setValue(4);
    control<QSpinBox>(window, "spnQuestions")->setValue(3);
    control<QRadioButton>(window, "optInOrder")->setChecked(true);
    // The order is a choice apart from the exam's.
    QVERIFY(control<QRadioButton>(window, "optNewExam")->isChecked());
    folder.platform.clear();
    click(window, "cmdMakeExam");
    QCOMPARE(folder.platform.messages.size(), 1);
    QCOMPARE(folder.platform.messages.first().icon, MessageIcon::Information);
    const QString exam = folder.path(u"b/Из банка"_s);
    QCOMPARE(folder.readBytes(u"b/Из банка/lzm.lzm"_s), AnsiText::encode(u"География, 7 класс\r\n"_s));
    // In order: ticket 2 holds questions 4 to 6, the picture with question 1.
    QCOMPARE(folder.readBytes(u"b/Из банка/b2/q1.txt"_s), QByteArray("\xc2\xee\xef\xf0\xee\xf1 4\r\n"));
    QVERIFY(folder.readBytes(u"b/Из банка/b2/k1.bmp"_s).startsWith("BM"));
    // The true/false question takes the answers of the language.
    QCOMPARE(folder.readBytes(u"b/Из банка/b4/o3.txt"_s), AnsiText::encode(trueAnswer + u"\r\n"_s));

    // Export of the exam to Aiken: the question with a picture is listed, not dropped silently.
    auto *exams = control<QComboBox>(window, "cboExportExam");
    QCOMPARE(exams->currentText(), u"Из банка"_s);
    control<QComboBox>(window, "cboExportFormat")->setCurrentText(u"Aiken"_s);
    const QString exported = folder.path(u"экспорт.txt"_s);
    folder.platform.clear();
    folder.platform.saveAnswers.enqueue(exported);
    click(window, "cmdExport");
    QCOMPARE(folder.platform.messages.size(), 1);
    QVERIFY2(folder.platform.messages.first().text.contains(u"b2"_s), qPrintable(folder.platform.messages.first().text));
    const QByteArray aiken = folder.readBytes(u"экспорт.txt"_s);
    QVERIFY(aiken.contains(u"Вопрос 1\nA) верно 1\nB) неверно 1\nC) мимо 1\nANSWER: A\n"_s.toUtf8()));
    QVERIFY(!aiken.contains(u"Вопрос 4"_s.toUtf8()));

    click(window, "cmdClose");
    QVERIFY(!folder.app().bankWindow());

    // The exam chooser takes the new exam as any other: four tickets of three questions.
    click(folder.app().examEditor(), "Command4");
    click(folder.app().settingsWindow(), "Label18");
    ExamChooserWindow *chooser = folder.app().examChooser();
    QVERIFY(chooser);
    control<QLineEdit>(chooser, "Text1")->setText(exam);
    click(chooser, "Command1");
    QCOMPARE(control<QLineEdit>(chooser, "Text2")->text(), u"4"_s);
    QCOMPARE(control<QLineEdit>(chooser, "Text8")->text(), u"3"_s);

    // A student takes ticket 2: its first question is the one with the picture.
    TicketWindow *ticket = openTicketByNumber(folder.app(), u"2"_s);
    QVERIFY(ticket);
    QCOMPARE(rowTexts(control<QListView>(ticket, "List1")),
             (QStringList{u"верно 4"_s, u"неверно 4"_s, u"мимо 4"_s}));
    QVERIFY(folder.app().pictureSizeWindow());
}

// A file of another kind says why and writes nothing; the window stays usable.
void BankWindowTest::badFileWritesNothing()
{
    ProgramFolder folder;
    folder.writeBytes(u"письмо.txt"_s, "Dear colleagues,\nsee you.\n");
    BankWindow *window = openBankWindow(folder, u"rus"_s);
    QVERIFY(window);
    folder.platform.clear();
    QVERIFY(readBank(folder, window, folder.path(u"письмо.txt"_s)));
    QCOMPARE(control<QTableView>(window, "tblQuestions")->model()->rowCount(), 0);
    QCOMPARE(folder.platform.messages.size(), 1);
    QVERIFY(folder.platform.messages.first().text.contains(u"нет вопросов в формате"_s));
    QVERIFY(!control<QPushButton>(window, "cmdMakeExam")->isEnabled());
    QVERIFY(control<QPushButton>(window, "cmdOpenFile")->isEnabled());

    // A cancelled dialog reads nothing.
    folder.platform.fileAnswers.enqueue(QString());
    click(window, "cmdOpenFile");
    QCOMPARE(folder.platform.messages.size(), 1);
}

// Replacing the tickets of the exam being edited asks first; a write that fails leaves the
// exam as it was and says why.
void BankWindowTest::failedWriteKeepsTheExam()
{
    ProgramFolder folder;
    folder.writeBytes(u"банк.gift"_s, giftBank());
    BankWindow *window = openBankWindow(folder, u"rus"_s);
    QVERIFY(window);
    QVERIFY(readBank(folder, window, folder.path(u"банк.gift"_s)));
    control<QRadioButton>(window, "optExistingExam")->setChecked(true);
    QCOMPARE(control<QComboBox>(window, "cboExam")->currentText(), u"Первый"_s);
    QCOMPARE(control<QLineEdit>(window, "txtTitle")->text(), u"Первый"_s);
    const QByteArray title = folder.readBytes(u"b/Первый/lzm.lzm"_s);

    folder.platform.clear();
    folder.platform.questionAnswers.enqueue(false);
    click(window, "cmdMakeExam");
    QCOMPARE(folder.platform.questions.size(), 1);
    QVERIFY(folder.platform.messages.isEmpty());

    folder.platform.questionAnswers.enqueue(true);
    AnsiText::Faults::failWriteAfter(1, 4);
    click(window, "cmdMakeExam");
    AnsiText::Faults::clear();
    QCOMPARE(folder.platform.messages.size(), 1);
    QVERIFY2(folder.platform.messages.first().text.startsWith(u"Экзамен не записан и остался прежним. "_s),
             qPrintable(folder.platform.messages.first().text));
    QCOMPARE(folder.readBytes(u"b/Первый/lzm.lzm"_s), title);
    QCOMPARE(QDir(folder.path(u"b/Первый"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{u"lzm.lzm"_s});
}

QTEST_MAIN(BankWindowTest)
#include "tst_bank_window.moc"
