#include "core/files/ansi_text.h"
#include "core/files/ini.h"
#include "gui/common/captions.h"
#include "support/controls.h"
#include "support/test_platform.h"
#include "ventaro/registration_window.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A temporary program folder of ventaro; the stand-in library leaves its marks in
// mark.txt beside it.
class UtilityFolder
{
public:
    UtilityFolder() { qputenv("FAKE_SCRRUN_MARK", QFile::encodeName(markFile())); }

    QString path(const QString &relative) const { return m_dir.path() + u'/' + relative; }
    QString library() const { return path(u"scrrun.dll"_s); }
    QString markFile() const { return path(u"mark.txt"_s); }

    void install(const QString &builtLibrary) const { QVERIFY(QFile::copy(builtLibrary, library())); }

    // The entry points that have returned, in order.
    QStringList marks() const
    {
        QFile file(markFile());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLatin1(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    void writeBytes(const QString &relative, const QByteArray &bytes) const
    {
        QFile file(path(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray readBytes(const QString &relative) const
    {
        return AnsiText::readBytes(path(relative)).value_or(QByteArray());
    }

    std::unique_ptr<RegistrationWindow> openWindow()
    {
        auto window = std::make_unique<RegistrationWindow>(platform, m_dir.path());
        window->show();
        return window;
    }

    TestPlatform platform;

private:
    QTemporaryDir m_dir;
};

// Whether the library at the path is mapped into this process.
bool isLoaded(const QString &path)
{
    QFile maps(u"/proc/self/maps"_s);
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    const QString file = QFileInfo(path).canonicalFilePath();
    return !file.isEmpty() && maps.readAll().contains(QFile::encodeName(file));
}

int permissionBits(const QString &path)
{
    return int(std::filesystem::status(QFile::encodeName(path).toStdString()).permissions()
               & std::filesystem::perms::mask);
}

void setPermissionBits(const QString &path, int bits)
{
    std::filesystem::permissions(QFile::encodeName(path).toStdString(),
                                 std::filesystem::perms(bits));
}

const QByteArray Settings = "[test]\r\nre=eng\r\n";

} // namespace

class RegUtilTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        qunsetenv("FAKE_SCRRUN_DELAY_MS");
        qunsetenv("FAKE_SCRRUN_RESULT");
    }

    void buttonsRunEntryPointAndRecordReg_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("entryPoint");
        QTest::addColumn<QString>("reg");
        QTest::newRow("register, default option") << u"cmdExecute"_s << 0 << u"DllRegisterServer"_s << u"1"_s;
        QTest::newRow("register, second option") << u"cmdExecute"_s << 1 << u"DllUnregisterServer"_s << u"1"_s;
        QTest::newRow("deregister, default option") << u"Command1"_s << 0 << u"DllUnregisterServer"_s << u"0"_s;
        QTest::newRow("deregister, second option") << u"Command1"_s << 1 << u"DllRegisterServer"_s << u"0"_s;
    }

    void buttonsRunEntryPointAndRecordReg()
    {
        QFETCH(QString, button);
        QFETCH(int, option);
        QFETCH(QString, entryPoint);
        QFETCH(QString, reg);
        UtilityFolder folder;
        folder.install(QStringLiteral(FAKE_SCRRUN));
        folder.writeBytes(u"test.ini"_s, Settings);
        auto window = folder.openWindow();

        QVERIFY(window->optAction[0]->isChecked());
        window->optAction[option]->setChecked(true);
        click(window.get(), button.toLatin1().constData());

        QCOMPARE(folder.marks(), QStringList{entryPoint});
        QCOMPARE(folder.readBytes(u"test.ini"_s), Settings + "[reg]\r\nreg=" + reg.toLatin1() + "\r\n");
        QCOMPARE(folder.platform.messages.size(), 1);
        QCOMPARE(folder.platform.messages[0].title, QString());
        QCOMPARE(folder.platform.messages[0].text, u"Выполнено"_s);
        QCOMPARE(folder.platform.messages[0].icon, MessageIcon::Information);
        QVERIFY(!window->isVisible());
        QVERIFY(!isLoaded(folder.library()));
    }

    // "Регистрировать" lets the owner write the library file and keeps the other
    // permissions; "Дерегистрировать" leaves them as they are.
    void readOnlyLibrary_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("register, read-only for all") << u"cmdExecute"_s << 0444 << 0644;
        QTest::newRow("register, executable") << u"cmdExecute"_s << 0555 << 0755;
        QTest::newRow("register, owner only") << u"cmdExecute"_s << 0500 << 0700;
        QTest::newRow("register, already writable") << u"cmdExecute"_s << 0640 << 0640;
        QTest::newRow("deregister keeps read-only") << u"Command1"_s << 0444 << 0444;
    }

    void readOnlyLibrary()
    {
        QFETCH(QString, button);
        QFETCH(int, before);
        QFETCH(int, after);
        UtilityFolder folder;
        folder.install(QStringLiteral(FAKE_SCRRUN));
        setPermissionBits(folder.library(), before);
        auto window = folder.openWindow();

        click(window.get(), button.toLatin1().constData());

        QCOMPARE(permissionBits(folder.library()), after);
        QCOMPARE(folder.platform.messageTexts(), QStringList{u"Выполнено"_s});
    }

    // Every failure is named in the caption language; `reg` is not written and the window
    // stays open.
    void failuresAreReported_data()
    {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QByteArray>("result");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("marks");
        const QString full = QStringLiteral(FAKE_SCRRUN);
        const QString half = QStringLiteral(FAKE_SCRRUN_REGISTER_ONLY);
        QTest::newRow("missing library") << QString() << QByteArray() << u"cmdExecute"_s
                                         << u"rus"_s << u"Не удалось загрузить библиотеку %1."_s
                                         << QStringList();
        QTest::newRow("not a library") << u"text"_s << QByteArray() << u"Command1"_s << u"eng"_s
                                       << u"Could not load the library %1."_s << QStringList();
        QTest::newRow("missing entry point, Russian")
            << half << QByteArray() << u"Command1"_s << u"rus"_s
            << u"В библиотеке %1 нет точки входа DllUnregisterServer."_s << QStringList();
        QTest::newRow("missing entry point, English")
            << half << QByteArray() << u"Command1"_s << u"eng"_s
            << u"The library %1 has no entry point DllUnregisterServer."_s << QStringList();
        QTest::newRow("entry point fails")
            << full << QByteArray("0x80004005") << u"cmdExecute"_s << u"eng"_s
            << u"DllRegisterServer of the library %1 failed with error 0x80004005."_s
            << QStringList{u"DllRegisterServer"_s};
        QTest::newRow("entry point returns 1")
            << full << QByteArray("1") << u"Command1"_s << u"rus"_s
            << u"DllUnregisterServer библиотеки %1 завершилась с ошибкой 0x00000001."_s
            << QStringList{u"DllUnregisterServer"_s};
    }

    void failuresAreReported()
    {
        QFETCH(QString, library);
        QFETCH(QByteArray, result);
        QFETCH(QString, button);
        QFETCH(QString, language);
        QFETCH(QString, message);
        QFETCH(QStringList, marks);
        UtilityFolder folder;
        if (library == "text"_L1)
            folder.writeBytes(u"scrrun.dll"_s, "MZ this is no library");
        else if (!library.isEmpty())
            folder.install(library);
        if (!result.isEmpty())
            qputenv("FAKE_SCRRUN_RESULT", result);
        folder.writeBytes(u"test.ini"_s, Settings);
        auto window = folder.openWindow();
        if (language == "eng"_L1)
            click(window.get(), "Label4");

        click(window.get(), button.toLatin1().constData());

        QCOMPARE(folder.marks(), marks);
        QCOMPARE(folder.readBytes(u"test.ini"_s), Settings);
        QCOMPARE(folder.platform.messages.size(), 1);
        const TestPlatform::Message shown = folder.platform.messages[0];
        QCOMPARE(shown.title, u"Тест-Тавринг"_s);
        QCOMPARE(shown.icon, MessageIcon::Critical);
        QCOMPARE(shown.text.section(u'\n', 0, 0),
                 message.arg(QDir::toNativeSeparators(folder.library())));
        QVERIFY(window->isVisible());
        QVERIFY(!isLoaded(folder.library()));
    }

    // An entry point that runs past the wait: the window goes on after the wait, reports
    // it, writes no `reg`, and the library stays loaded until the entry point returns.
    void slowEntryPoint()
    {
        UtilityFolder folder;
        folder.install(QStringLiteral(FAKE_SCRRUN));
        qputenv("FAKE_SCRRUN_DELAY_MS", "3000");
        auto window = folder.openWindow();

        QElapsedTimer clock;
        clock.start();
        click(window.get(), "cmdExecute");
        const qint64 waited = clock.elapsed();

        QVERIFY2(waited >= 1000 && waited < 2500, QByteArray::number(waited).constData());
        QCOMPARE(folder.platform.messageTexts(),
                 QStringList{u"DllRegisterServer библиотеки %1 не завершилась за 1000 мс."_s.arg(
                     QDir::toNativeSeparators(folder.library()))});
        QVERIFY(!QFileInfo::exists(folder.path(u"test.ini"_s)));
        QVERIFY(window->isVisible());
        QVERIFY(folder.marks().isEmpty());
        QVERIFY(isLoaded(folder.library()));

        // A second press while the late entry point runs starts nothing.
        click(window.get(), "cmdExecute");
        QCOMPARE(folder.platform.messages.size(), 2);
        QCOMPARE(folder.platform.messages.last().text,
                 u"Предыдущий вызов библиотеки %1 ещё не завершился. Повторите позже."_s.arg(
                     QDir::toNativeSeparators(folder.library())));
        QVERIFY(!QFileInfo::exists(folder.path(u"test.ini"_s)));

        QTRY_COMPARE_WITH_TIMEOUT(folder.marks(), QStringList{u"DllRegisterServer"_s}, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!isLoaded(folder.library()), 2000);
    }

    void regThatCannotBeWrittenIsReported()
    {
        UtilityFolder folder;
        folder.install(QStringLiteral(FAKE_SCRRUN));
        QVERIFY(QDir().mkpath(folder.path(u"test.ini"_s)));
        auto window = folder.openWindow();

        click(window.get(), "cmdExecute");

        QCOMPARE(folder.marks(), QStringList{u"DllRegisterServer"_s});
        // One message, naming the file and the reason.
        const QStringList said = folder.platform.messageTexts();
        QCOMPARE(said.size(), 1);
        const QString named = u"DllRegisterServer выполнена, но флаг reg не записан в файл %1: "_s.arg(
            QDir::toNativeSeparators(folder.path(u"test.ini"_s)));
        QVERIFY2(said.first().startsWith(named) && said.first().size() > named.size(), qPrintable(said.first()));
        QVERIFY(window->isVisible());
    }

    void exitChangesNothing()
    {
        UtilityFolder folder;
        folder.install(QStringLiteral(FAKE_SCRRUN));
        auto window = folder.openWindow();

        click(window.get(), "cmdExit");

        QVERIFY(!window->isVisible());
        QVERIFY(folder.platform.messages.isEmpty());
        QVERIFY(folder.marks().isEmpty());
        QVERIFY(!QFileInfo::exists(folder.path(u"test.ini"_s)));
    }

    void fullScreenOnTopWithFrameAtAQuarter()
    {
        UtilityFolder folder;
        folder.platform.screen = QSize(1000, 800);
        auto window = folder.openWindow();

        QCOMPARE(window->objectName(), u"Form1"_s);
        QCOMPARE(window->windowTitle(), u"Регистрация"_s);
        QCOMPARE(window->pos(), QPoint(0, 0));
        QCOMPARE(window->size(), QSize(1000, 800));
        QCOMPARE(window->boxReg->pos(), QPoint(250, 200));
        QVERIFY(window->boxReg->geometry().right() < 1000);
        QVERIFY(window->boxReg->geometry().bottom() < 800);
        QVERIFY(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window->testAttribute(Qt::WA_ShowWithoutActivating));
    }

    // "eng" captions the window in English, keeping the title and the language labels;
    // "rus" then brings back every caption exactly.
    void englishThenRussianRestoresEveryCaption()
    {
        UtilityFolder folder;
        auto window = folder.openWindow();
        const auto snapshot = [&window] {
            QStringList captions{window->windowTitle()};
            for (const QWidget *child : window->findChildren<QWidget *>())
                captions << child->objectName() + u'=' + captionOf(child);
            return captions;
        };
        const QStringList russian = snapshot();

        click(window.get(), "Label4");
        QCOMPARE(window->cmdExecute->text(), u"Register"_s);
        QCOMPARE(window->optAction[1]->text(), u"To DeRegister"_s);
        QCOMPARE(window->Label4->text(), u"eng"_s);
        QCOMPARE(window->windowTitle(), u"Регистрация"_s);
        click(window.get(), "Label3");

        QCOMPARE(snapshot(), russian);
    }
};

QTEST_MAIN(RegUtilTest)
#include "tst_regutil.moc"
