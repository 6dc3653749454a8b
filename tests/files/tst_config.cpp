#include "core/files/ansi_text.h"
#include "core/files/fixed_point.h"
#include "core/files/folders.h"
#include "core/files/ini.h"
#include "core/files/path_names.h"
#include "core/program/language_policy.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <limits>

using namespace Qt::StringLiterals;

class ConfigTest : public QObject
{
    Q_OBJECT

private slots:
    void iniReading_data();
    void iniReading();
    void iniWritingKeepsOtherLines_data();
    void iniWritingKeepsOtherLines();
    void iniWritingEdges();
    void iniLongValueAndCyrillicPath();
    void iniRefusesUnreadableNames_data();
    void iniRefusesUnreadableNames();
    void iniLineEnds_data();
    void iniLineEnds();
    void iniFileAnswersAsEachRead_data();
    void iniFileAnswersAsEachRead();
    void iniSeveralKeysAsOneByOne_data();
    void iniSeveralKeysAsOneByOne();

    void parse_data();
    void parse();
    void format_data();
    void format();
    void divisionAndInt16();
    void checkedArithmetic_data();
    void checkedArithmetic();
    void mean_data();
    void mean();

    void ansiLines_data();
    void ansiLines();
    void ansiLineIndex_data() { ansiLines_data(); }
    void ansiLineIndex();
    void ansiUnmappableAndAppend();
    void ansiUnmappableInALongText();

    void folders();
    void pathNames_data();
    void pathNames();
    void questionNumbers_data();
    void questionNumbers();
    void demoProgramFolderOnACyrillicPath();
};

void ConfigTest::iniReading_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("case and blanks ignored") << u"TEST"_s << u"bilet"_s << u"12"_s;
    QTest::newRow("comment skipped, quotes stripped") << u"test"_s << u"vopros"_s << u"5"_s;
    QTest::newRow("single quotes stripped") << u"test"_s << u"ball"_s << u"4,5"_s;
    QTest::newRow("one quote character stays") << u"test"_s << u"quote"_s << u"\""_s;
    QTest::newRow("line without equals is no key") << u"test"_s << u"noequals"_s << QString();
    QTest::newRow("only the first matching section counts") << u"test"_s << u"re"_s << QString();
    QTest::newRow("before any section cannot be read") << QString() << u"orphan"_s << QString();
    QTest::newRow("other section") << u"reg"_s << u"reg"_s << u"1"_s;
    QTest::newRow("missing section") << u"nothing"_s << u"reg"_s << QString();
    QTest::newRow("missing key") << u"test"_s << u"pass"_s << QString();
}

void ConfigTest::iniReading()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const QString file = goldenPath(u"ini/settings.ini"_s);
    QCOMPARE(GetValueString(section, key, file), expected);
    QCOMPARE(IniFile(file).value(section, key), expected);
}

void ConfigTest::iniWritingKeepsOtherLines_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("existing key keeps its spelling")
        << u"test"_s << u"BILET"_s << u"7"_s << golden(u"ini/settings-existing-key.ini"_s);
    QTest::newRow("new key after the last key of the section")
        << u"test"_s << u"z"_s << u"/home/учитель/b/экзамен"_s << golden(u"ini/settings-new-key.ini"_s);
    QTest::newRow("new section at the end")
        << u"extra"_s << u"flag"_s << u"on"_s << golden(u"ini/settings-new-section.ini"_s);
}

void ConfigTest::iniWritingKeepsOtherLines()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, expected);

    QTemporaryDir dir;
    const QString file = dir.filePath(u"test.ini"_s);
    writeFile(file, golden(u"ini/settings.ini"_s));
    QVERIFY(SetValue(section, key, value, file));
    QCOMPARE(readFile(file), expected);
    QCOMPARE(GetValueString(section, key, file), value);
}

void ConfigTest::iniWritingEdges()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"test.ini"_s);

    // A missing file is created with the section.
    QVERIFY(SetValue(u"test"_s, u"bilet"_s, u"3"_s, file));
    QCOMPARE(readFile(file), "[test]\r\nbilet=3\r\n"_ba);
    QVERIFY(SetValue(u"test"_s, u"vopros"_s, u"5"_s, file));
    QCOMPARE(readFile(file), "[test]\r\nbilet=3\r\nvopros=5\r\n"_ba);

    // A file without a final line end: a new section starts on a line of its own,
    // a new key after a last line without an end gets one.
    writeFile(file, "[test]\r\nbilet=3");
    QVERIFY(SetValue(u"reg"_s, u"reg"_s, u"1"_s, file));
    QCOMPARE(readFile(file), "[test]\r\nbilet=3\r\n[reg]\r\nreg=1\r\n"_ba);
    writeFile(file, "[test]\r\nbilet=3");
    QVERIFY(SetValue(u"test"_s, u"ball"_s, u"4"_s, file));
    QCOMPARE(readFile(file), "[test]\r\nbilet=3\r\nball=4\r\n"_ba);

    // A section without keys gets the key right after its header.
    writeFile(file, "[test]\r\n\r\n[reg]\r\nreg=0\r\n");
    QVERIFY(SetValue(u"test"_s, u"re"_s, u"rus"_s, file));
    QCOMPARE(readFile(file), "[test]\r\nre=rus\r\n\r\n[reg]\r\nreg=0\r\n"_ba);

    // A value with line breaks stays on its key's line and adds no key or section.
    writeFile(file, "[test]\r\npass=1\r\n[reg]\r\nreg=0\r\n");
    QVERIFY(SetValue(u"test"_s, u"pass"_s, u"x\r\n[reg]\r\nreg=1\nre=eng\r"_s, file));
    QVERIFY(SetValue(u"test"_s, u"z"_s, u"a\nb"_s, file));
    QCOMPARE(readFile(file),
             "[test]\r\npass=x [reg] reg=1 re=eng \r\nz=a b\r\n[reg]\r\nreg=0\r\n"_ba);
    QCOMPARE(GetValueString(u"reg"_s, u"reg"_s, file), u"0"_s);

    // A missing folder makes the write fail and creates nothing.
    const QString nowhere = dir.filePath(u"missing/test.ini"_s);
    QVERIFY(!SetValue(u"test"_s, u"bilet"_s, u"3"_s, nowhere));
    QVERIFY(!QFile::exists(nowhere));
    QCOMPARE(GetValueString(u"test"_s, u"bilet"_s, nowhere), QString());
}

void ConfigTest::iniLongValueAndCyrillicPath()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"test.ini"_s);
    const QString longValue = QString(300, u'x');
    QVERIFY(SetValue(u"test"_s, u"z"_s, longValue, file));
    QCOMPARE(GetValueString(u"test"_s, u"z"_s, file), QString(255, u'x'));

    const QString path = u"/home/Учитель/Экзамены/b/география"_s;
    QVERIFY(SetValue(u"test"_s, u"z"_s, path, file));
    QCOMPARE(GetValueString(u"test"_s, u"z"_s, file), path);
    // Stored as single bytes of Windows-1251.
    QVERIFY(readFile(file).contains("\xd3\xf7\xe8\xf2\xe5\xeb\xfc"));
}

void ConfigTest::iniRefusesUnreadableNames_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");

    QTest::newRow("opening bracket in the section") << u"te[st"_s << u"bilet"_s;
    QTest::newRow("closing bracket in the section") << u"2]"_s << u"q1"_s;
    QTest::newRow("bracketed section") << u"[2]"_s << u"q1"_s;
    QTest::newRow("equals in the section") << u"a=b"_s << u"bilet"_s;
    QTest::newRow("line break in the section") << u"test\r\nreg"_s << u"reg"_s;
    QTest::newRow("chinese section") << u"中"_s << u"q1"_s;
    QTest::newRow("emoji section") << u"3😀"_s << u"q1"_s;
    QTest::newRow("comment section") << u";test"_s << u"bilet"_s;
    QTest::newRow("equals in the key") << u"test"_s << u"a=b"_s;
    QTest::newRow("bracket opening the key") << u"test"_s << u"[reg]"_s;
    QTest::newRow("closing bracket in the key") << u"test"_s << u"q]"_s;
    QTest::newRow("line break in the key") << u"test"_s << u"bilet\rre"_s;
    QTest::newRow("comment key") << u"test"_s << u";bilet"_s;
    QTest::newRow("comment key after blanks") << u"test"_s << u"  ;bilet"_s;
    QTest::newRow("emoji key") << u"test"_s << u"q😀"_s;
}

void ConfigTest::iniRefusesUnreadableNames()
{
    QFETCH(QString, section);
    QFETCH(QString, key);

    QTemporaryDir dir;
    const QString file = dir.filePath(u"test.ini"_s);
    writeFile(file, golden(u"ini/settings.ini"_s));
    QVERIFY(!SetValue(section, key, u"1"_s, file));
    // Several keys with one unreadable among them: none is written.
    FileError error;
    QVERIFY(!SetValues(section, {{u"vopros"_s, u"9"_s}, {key, u"1"_s}}, file, &error));
    QVERIFY(error.isError());
    QCOMPARE(readFile(file), golden(u"ini/settings.ini"_s));

    // Nothing is created for a refused name either.
    const QString missing = dir.filePath(u"new.ini"_s);
    QVERIFY(!SetValue(section, key, u"1"_s, missing));
    QVERIFY(!QFile::exists(missing));
}

void ConfigTest::iniLineEnds_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("before"); // the value read before the write
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("lone cr: existing key")
        << "[test]\rbilet=3\rvopros=5\r[reg]\rreg=0\r"_ba << u"test"_s << u"vopros"_s << u"7"_s << u"5"_s
        << "[test]\rbilet=3\rvopros=7\r[reg]\rreg=0\r"_ba;
    QTest::newRow("lone cr: new key stays in its section")
        << "[test]\rbilet=3\r[reg]\rreg=0\r"_ba << u"test"_s << u"ball"_s << u"4"_s << QString()
        << "[test]\rbilet=3\rball=4\r[reg]\rreg=0\r"_ba;
    QTest::newRow("lone cr: second section read")
        << "[test]\rbilet=3\r[reg]\rreg=0\r"_ba << u"reg"_s << u"reg"_s << u"1"_s << u"0"_s
        << "[test]\rbilet=3\r[reg]\rreg=1\r"_ba;
    QTest::newRow("lone cr: new section")
        << "[test]\rbilet=3\r"_ba << u"reg"_s << u"reg"_s << u"1"_s << QString()
        << "[test]\rbilet=3\r[reg]\rreg=1\r"_ba;
    QTest::newRow("lone cr: last line without an end")
        << "[test]\rbilet=3"_ba << u"test"_s << u"ball"_s << u"4"_s << QString()
        << "[test]\rbilet=3\rball=4\r"_ba;
    QTest::newRow("lf: new key and section keep lf")
        << "[test]\nbilet=3\n"_ba << u"reg"_s << u"reg"_s << u"1"_s << QString()
        << "[test]\nbilet=3\n[reg]\nreg=1\n"_ba;
    QTest::newRow("lf: new key")
        << "[test]\nbilet=3\n[reg]\nreg=0\n"_ba << u"test"_s << u"ball"_s << u"4"_s << QString()
        << "[test]\nbilet=3\nball=4\n[reg]\nreg=0\n"_ba;
    QTest::newRow("mixed ends: each line keeps its own")
        << "[test]\r\nbilet=3\rvopros=5\n[reg]\r\nreg=0\r\n"_ba << u"test"_s << u"vopros"_s << u"6"_s << u"5"_s
        << "[test]\r\nbilet=3\rvopros=6\n[reg]\r\nreg=0\r\n"_ba;
    QTest::newRow("cr before crlf is an empty line")
        << "[test]\r\r\nbilet=3\r\n"_ba << u"test"_s << u"bilet"_s << u"4"_s << u"3"_s
        << "[test]\r\r\nbilet=4\r\n"_ba;
    QTest::newRow("no line end at all: a new line gets crlf")
        << "[test]"_ba << u"test"_s << u"bilet"_s << u"3"_s << QString()
        << "[test]\r\nbilet=3\r\n"_ba;
}

void ConfigTest::iniLineEnds()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, before);
    QFETCH(QByteArray, expected);

    QTemporaryDir dir;
    const QString file = dir.filePath(u"test.ini"_s);
    writeFile(file, content);
    QCOMPARE(GetValueString(section, key, file), before);
    QVERIFY(SetValue(section, key, value, file));
    QCOMPARE(readFile(file), expected);
    QCOMPARE(GetValueString(section, key, file), value);
}

// A file read once answers every key as a read of that key alone does.
void ConfigTest::iniFileAnswersAsEachRead_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QByteArray twoSections = "[a]\r\nk=1\r\n[b]\r\nk=2\r\n[A]\r\nk=3\r\nj=4\r\n";
    QTest::newRow("first section") << twoSections << u"a"_s << u"k"_s << u"1"_s;
    QTest::newRow("second section") << twoSections << u"B"_s << u"K"_s << u"2"_s;
    QTest::newRow("a later section of the same name is not read") << twoSections << u"a"_s << u"j"_s << QString();
    QTest::newRow("first key wins") << "[s]\r\nk=1\r\nK=2\r\n"_ba << u"s"_s << u"k"_s << u"1"_s;
    QTest::newRow("blanks and tabs around everything")
        << " \t[ s \t] x\r\n \t k \t= \t v w \t\r\n"_ba << u" s"_s << u"k "_s << u"v w"_s;
    QTest::newRow("header without a closing bracket") << "[s\r\nk=1\r\n"_ba << u"s"_s << u"k"_s << u"1"_s;
    QTest::newRow("bracket inside a value is no header")
        << "[s]\r\nk=[t]\r\nj=2\r\n[t]\r\nj=3\r\n"_ba << u"s"_s << u"j"_s << u"2"_s;
    QTest::newRow("commented header is no header")
        << "[s]\r\n;[t]\r\nj=2\r\n"_ba << u"s"_s << u"j"_s << u"2"_s;
    QTest::newRow("commented key") << "[s]\r\n ;k=1\r\nk=2\r\n"_ba << u"s"_s << u"k"_s << u"2"_s;
    QTest::newRow("key before any section") << "k=1\r\n[s]\r\n"_ba << QString() << u"k"_s << QString();
    QTest::newRow("lone cr and lone lf end lines") << "[s]\rk=1\n[t]\rk=2"_ba << u"t"_s << u"k"_s << u"2"_s;
    QTest::newRow("quotes taken off once") << "[s]\r\nk=\"'v'\"\r\n"_ba << u"s"_s << u"k"_s << u"'v'"_s;
    QTest::newRow("empty value") << "[s]\r\nk=\r\n"_ba << u"s"_s << u"k"_s << QString();
    QTest::newRow("empty key") << "[s]\r\n=v\r\n"_ba << u"s"_s << QString() << u"v"_s;
    QTest::newRow("empty section name") << "[]\r\nk=v\r\n"_ba << QString() << u"k"_s << u"v"_s;
    QTest::newRow("Cyrillic names ignore case")
        << "[\xd2\xc5\xd1\xd2]\r\n\xea\xeb\xfe\xf7=\xe7\xed\xe0\xf7\xe5\xed\xe8\xe5\r\n"_ba
        << u"тест"_s << u"КЛЮЧ"_s << u"значение"_s;
    QTest::newRow("a name that differs in one letter")
        << "[section12]\r\nk=1\r\n[section21]\r\nk=2\r\n"_ba << u"SECTION21"_s << u"k"_s << u"2"_s;
    QTest::newRow("byte the code page does not name") << "[s]\r\nk=\x98\r\n"_ba << u"s"_s << u"k"_s << QString(QChar(0x98));
    QTest::newRow("long value cut at 255") << "[s]\r\nk=" + QByteArray(300, 'x') + "\r\n" << u"s"_s << u"k"_s
                                           << QString(255, u'x');
    // Headers are passed over by where a name of the wanted length would end.
    QTest::newRow("a longer name that begins alike")
        << "[abcd]\r\nk=1\r\n[abc]\r\nk=2\r\n"_ba << u"abc"_s << u"k"_s << u"2"_s;
    QTest::newRow("a shorter name before the wanted one")
        << "[ab]\r\nk=1\r\n[abc]\r\nk=2\r\n"_ba << u"abc"_s << u"k"_s << u"2"_s;
    QTest::newRow("a name of the length up to a bracket inside")
        << "[a]c]\r\nk=1\r\n[abc]\r\nk=2\r\n"_ba << u"abc"_s << u"k"_s << u"2"_s;
    QTest::newRow("blanks inside the brackets and inside the name")
        << "[ \ta b\t ]\r\nk=1\r\n"_ba << u"a b"_s << u"k"_s << u"1"_s;
    QTest::newRow("a name ended by the line end after blanks")
        << "[abc \r\nk=1\r\n"_ba << u"abc"_s << u"k"_s << u"1"_s;
    QTest::newRow("a header cut short by the end of the file") << "k=1\r\n[ab"_ba << u"abc"_s << u"k"_s << QString();
    QTest::newRow("a name at the end of the file") << "[t]\r\nk=1\r\n[abc"_ba << u"abc"_s << u"k"_s << QString();
    QTest::newRow("missing key") << "[s]\r\nk=1\r\n"_ba << u"s"_s << u"j"_s << QString();
    QTest::newRow("missing section") << "[s]\r\nk=1\r\n"_ba << u"t"_s << u"k"_s << QString();
    QTest::newRow("empty file") << QByteArray() << u"s"_s << u"k"_s << QString();
}

void ConfigTest::iniFileAnswersAsEachRead()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    const QString file = dir.filePath(u"values.ini"_s);
    writeFile(file, content);
    QCOMPARE(GetValueString(section, key, file), expected);
    QCOMPARE(IniFile(file).value(section, key), expected);
    QCOMPARE(IniFile::fromBytes(content).value(section, key), expected);
}

// Several keys written together leave the bytes that writing them one by one leaves.
void ConfigTest::iniSeveralKeysAsOneByOne_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");

    QTest::newRow("existing section") << "[t]\r\nb=1\r\n[s]\r\nk=1\r\n;note\r\n\r\n[u]\r\nx=1\r\n"_ba << u"S"_s;
    QTest::newRow("new section") << "[t]\r\nb=1\r\n"_ba << u"s"_s;
    QTest::newRow("new section, no final line end") << "[t]\r\nb=1"_ba << u"s"_s;
    QTest::newRow("header is the last line") << "[t]\r\nb=1\r\n[s]"_ba << u"s"_s;
    QTest::newRow("last key without a line end") << "[s]\nk=1"_ba << u"s"_s;
    QTest::newRow("section without keys, lone cr") << "[s]\r;c\r[t]\r"_ba << u"s"_s;
    QTest::newRow("empty file") << QByteArray() << u"s"_s;
}

void ConfigTest::iniSeveralKeysAsOneByOne()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);

    const QList<std::pair<QString, QString>> values{
        {u"k"_s, u"2"_s}, {u"new"_s, u"значение"_s}, {u" K "_s, u"3\r\n[t]"_s}, {u"другой"_s, u"x"_s}};
    QTemporaryDir dir;
    const QString together = dir.filePath(u"together.ini"_s);
    const QString oneByOne = dir.filePath(u"one-by-one.ini"_s);
    writeFile(together, content);
    writeFile(oneByOne, content);
    QVERIFY(SetValues(section, values, together));
    for (const auto &[key, value] : values)
        QVERIFY(SetValue(section, key, value, oneByOne));
    QCOMPARE(readFile(together),
             readFile(oneByOne));
    QCOMPARE(IniFile(together).value(section, u"new"_s), u"значение"_s);
}

void ConfigTest::parse_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("raw");

    for (const auto &[name, sep, group] : {std::tuple{u"ru_RU"_s, u","_s, u"\u00a0"_s},
                                          std::tuple{u"en_US"_s, u"."_s, u","_s}}) {
        const QByteArray tag = name.toLatin1();
        QTest::addRow("%s whole", tag.constData()) << name << u"4"_s << true << qint64(40000);
        QTest::addRow("%s fraction", tag.constData()) << name << (u"4"_s + sep + u"4"_s) << true << qint64(44000);
        QTest::addRow("%s blanks and sign", tag.constData()) << name << (u"  -0"_s + sep + u"5 "_s) << true << qint64(-5000);
        QTest::addRow("%s plus", tag.constData()) << name << u"+12"_s << true << qint64(120000);
        QTest::addRow("%s group ignored", tag.constData()) << name << (u"1"_s + group + u"000"_s) << true << qint64(10000000);
        QTest::addRow("%s leading separator", tag.constData()) << name << (sep + u"25"_s) << true << qint64(2500);
        QTest::addRow("%s half up to even", tag.constData()) << name << (u"0"_s + sep + u"00015"_s) << true << qint64(2);
        QTest::addRow("%s half down to even", tag.constData()) << name << (u"0"_s + sep + u"00025"_s) << true << qint64(2);
        QTest::addRow("%s beyond half", tag.constData()) << name << (u"0"_s + sep + u"000251"_s) << true << qint64(3);
        QTest::addRow("%s empty", tag.constData()) << name << QString() << false << qint64(0);
        QTest::addRow("%s letters", tag.constData()) << name << u"abc"_s << false << qint64(0);
        QTest::addRow("%s two separators", tag.constData()) << name << (u"1"_s + sep + u"2"_s + sep + u"3"_s) << false << qint64(0);
        QTest::addRow("%s sign alone", tag.constData()) << name << u"-"_s << false << qint64(0);
        QTest::addRow("%s overflow", tag.constData()) << name << u"99999999999999999999"_s << false << qint64(0);
        QTest::addRow("%s just past the 64-bit range", tag.constData()) << name << u"9223372036854775808"_s << false << qint64(0);
        QTest::addRow("%s largest value", tag.constData())
            << name << (u"922337203685477"_s + sep + u"5807"_s) << true << std::numeric_limits<qint64>::max();
        QTest::addRow("%s smallest value", tag.constData())
            << name << (u"-922337203685477"_s + sep + u"5808"_s) << true << std::numeric_limits<qint64>::min();
        QTest::addRow("%s just above the largest", tag.constData())
            << name << (u"922337203685477"_s + sep + u"5808"_s) << false << qint64(0);
        QTest::addRow("%s just below the smallest", tag.constData())
            << name << (u"-922337203685477"_s + sep + u"5809"_s) << false << qint64(0);
        QTest::addRow("%s smallest reached by rounding", tag.constData())
            << name << (u"-922337203685477"_s + sep + u"58075"_s) << true << std::numeric_limits<qint64>::min();
    }
    QTest::newRow("point in a comma locale") << u"ru_RU"_s << u"2.5"_s << false << qint64(0);
}

void ConfigTest::parse()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(qint64, raw);
    const auto number = Fixed::parse(text, QLocale(locale));
    QCOMPARE(number.has_value(), valid);
    if (valid)
        QCOMPARE(number->raw(), raw);
}

void ConfigTest::format_data()
{
    QTest::addColumn<qint64>("raw");
    QTest::addColumn<QString>("comma");
    QTest::addColumn<QString>("point");

    QTest::newRow("whole") << qint64(40000) << u"4"_s << u"4"_s;
    QTest::newRow("no trailing zeros") << qint64(44000) << u"4,4"_s << u"4.4"_s;
    QTest::newRow("four digits") << qint64(45714) << u"4,5714"_s << u"4.5714"_s;
    QTest::newRow("leading zero") << qint64(5) << u"0,0005"_s << u"0.0005"_s;
    QTest::newRow("negative") << qint64(-5000) << u"-0,5"_s << u"-0.5"_s;
    QTest::newRow("no group separator") << qint64(12345670000) << u"1234567"_s << u"1234567"_s;
    QTest::newRow("zero") << qint64(0) << u"0"_s << u"0"_s;
}

void ConfigTest::format()
{
    QFETCH(qint64, raw);
    QFETCH(QString, comma);
    QFETCH(QString, point);
    QCOMPARE(Fixed::fromRaw(raw).toString(QLocale(u"ru_RU"_s)), comma);
    QCOMPARE(Fixed::fromRaw(raw).toString(QLocale(u"en_US"_s)), point);
}

void ConfigTest::checkedArithmetic_data()
{
    QTest::addColumn<qint64>("a");
    QTest::addColumn<qint64>("b");
    QTest::addColumn<bool>("sumValid");
    QTest::addColumn<qint64>("sum");
    QTest::addColumn<bool>("differenceValid");
    QTest::addColumn<qint64>("difference");
    const qint64 max = std::numeric_limits<qint64>::max();
    const qint64 min = std::numeric_limits<qint64>::min();

    QTest::newRow("small") << qint64(25000) << qint64(-5000) << true << qint64(20000) << true << qint64(30000);
    QTest::newRow("largest and zero") << max << qint64(0) << true << max << true << max;
    QTest::newRow("largest and one") << max << qint64(1) << false << qint64(0) << true << max - 1;
    QTest::newRow("largest and minus one") << max << qint64(-1) << true << max - 1 << false << qint64(0);
    QTest::newRow("smallest and minus one") << min << qint64(-1) << false << qint64(0) << true << min + 1;
    QTest::newRow("smallest and one") << min << qint64(1) << true << min + 1 << false << qint64(0);
    QTest::newRow("smallest and largest") << min << max << true << qint64(-1) << false << qint64(0);
    QTest::newRow("zero and smallest") << qint64(0) << min << true << min << false << qint64(0);
    QTest::newRow("minus one and smallest") << qint64(-1) << min << false << qint64(0) << true << max;
    QTest::newRow("largest twice") << max << max << false << qint64(0) << true << qint64(0);
}

void ConfigTest::checkedArithmetic()
{
    QFETCH(qint64, a);
    QFETCH(qint64, b);
    QFETCH(bool, sumValid);
    QFETCH(qint64, sum);
    QFETCH(bool, differenceValid);
    QFETCH(qint64, difference);
    const std::optional<Fixed> added = Fixed::fromRaw(a) + Fixed::fromRaw(b);
    QCOMPARE(added.has_value(), sumValid);
    if (sumValid)
        QCOMPARE(added->raw(), sum);
    const std::optional<Fixed> subtracted = Fixed::fromRaw(a) - Fixed::fromRaw(b);
    QCOMPARE(subtracted.has_value(), differenceValid);
    if (differenceValid)
        QCOMPARE(subtracted->raw(), difference);
}

void ConfigTest::mean_data()
{
    QTest::addColumn<QList<qint64>>("raws");
    QTest::addColumn<qint64>("count"); // ten-thousandths
    QTest::addColumn<qint64>("mean");  // -1: nothing
    const qint64 max = std::numeric_limits<qint64>::max();

    QTest::newRow("grade of five marks") << QList<qint64>{50000, 50000, 20000, 0, 50000} << qint64(50000) << qint64(34000);
    QTest::newRow("thirds") << QList<qint64>{50000, 20000} << qint64(30000) << qint64(23333);
    QTest::newRow("half goes down to even") << QList<qint64>{1} << qint64(20000) << qint64(0);
    QTest::newRow("half goes up to even") << QList<qint64>{3} << qint64(20000) << qint64(2);
    QTest::newRow("negative count") << QList<qint64>{50000} << qint64(-20000) << qint64(-25000);
    QTest::newRow("count with a fraction") << QList<qint64>{50000} << qint64(25000) << qint64(20000);
    QTest::newRow("zero count") << QList<qint64>{50000} << qint64(0) << qint64(-1);
    QTest::newRow("sum beyond 64 bits, mean within") << QList<qint64>{max, max} << qint64(20000) << max;
    QTest::newRow("mean beyond the range") << QList<qint64>{max, max} << qint64(10000) << qint64(-1);
    QTest::newRow("no values") << QList<qint64>{} << qint64(30000) << qint64(0);
}

void ConfigTest::mean()
{
    QFETCH(QList<qint64>, raws);
    QFETCH(qint64, count);
    QFETCH(qint64, mean);
    QList<Fixed> values;
    for (const qint64 raw : raws)
        values << Fixed::fromRaw(raw);
    const auto result = Fixed::mean(values, Fixed::fromRaw(count));
    QCOMPARE(result ? result->raw() : qint64(-1), mean);
}

void ConfigTest::divisionAndInt16()
{
    // 32 / 7 = 4.571428...
    QCOMPARE(Fixed::fromInt(32).dividedBy(7).raw(), qint64(45714));
    // Halves go to the even neighbour: 0.00005 steps.
    QCOMPARE(Fixed::fromRaw(5).dividedBy(2).raw(), qint64(2));
    QCOMPARE(Fixed::fromRaw(7).dividedBy(2).raw(), qint64(4));
    QCOMPARE(Fixed::fromRaw(-5).dividedBy(2).raw(), qint64(-2));
    QCOMPARE(Fixed::fromInt(1).dividedBy(0).raw(), qint64(0));

    const QLocale ru(u"ru_RU"_s);
    QCOMPARE(Fixed::parse(u"2,5"_s, ru)->toInt16(), std::optional<qint16>(2));
    QCOMPARE(Fixed::parse(u"3,5"_s, ru)->toInt16(), std::optional<qint16>(4));
    QCOMPARE(Fixed::parse(u"-2,5"_s, ru)->toInt16(), std::optional<qint16>(-2));
    QCOMPARE(Fixed::parse(u"32767,4"_s, ru)->toInt16(), std::optional<qint16>(32767));
    QVERIFY(!Fixed::parse(u"32767,5"_s, ru)->toInt16());
    QVERIFY(!Fixed::parse(u"-32769"_s, ru)->toInt16());
    QCOMPARE(Fixed::parse(u"-2,5"_s, ru)->floor(), qint64(-3));
}

void ConfigTest::ansiLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("crlf") << u"A\r\nB\r\nC\r\n"_s << QStringList{u"A"_s, u"B"_s, u"C"_s};
    QTest::newRow("no final end") << u"A\r\nB\r\nC"_s << QStringList{u"A"_s, u"B"_s, u"C"_s};
    QTest::newRow("lone cr ends a line") << u"A\rB"_s << QStringList{u"A"_s, u"B"_s};
    QTest::newRow("lone lf stays") << u"A\nB\r\n"_s << QStringList{u"A\nB"_s};
    QTest::newRow("empty line kept") << u"A\r\n\r\nB\r\n"_s << QStringList{u"A"_s, QString(), u"B"_s};
    QTest::newRow("empty text") << QString() << QStringList();
    QTest::newRow("only a line end") << u"\r\n"_s << QStringList{QString()};
    QTest::newRow("final lone cr") << u"A\r"_s << QStringList{u"A"_s};
    QTest::newRow("cr before crlf") << u"A\r\r\nB"_s << QStringList{u"A"_s, QString(), u"B"_s};
    QTest::newRow("lf at the start and end") << u"\nA\n"_s << QStringList{u"\nA\n"_s};
    QTest::newRow("lf after crlf") << u"A\r\n\nB\r\n"_s << QStringList{u"A"_s, u"\nB"_s};
    QTest::newRow("windows-1251 letters") << u"Ёжик №1\r\nщука\rЯ"_s << QStringList{u"Ёжик №1"_s, u"щука"_s, u"Я"_s};
    // Lines of every length up to 70, so that line ends fall on every place of a long text,
    // with CR LF, lone CRs and lone LFs mixed, and the last line without a line end.
    QString text;
    QStringList lines;
    for (int length = 0; length <= 70; ++length) {
        QString line(length, length % 2 ? u'ж' : u'z');
        if (length % 5 == 3)
            line[length / 2] = u'\n';
        lines << line;
        text += line + (length == 70 ? QString() : length % 3 ? u"\r\n"_s : u"\r"_s);
    }
    QTest::newRow("lines of every length") << text << lines;
}

// The index of a file's lines gives each line as splitting the decoded text does, also read
// from a file; only an unreadable file gives no index.
void ConfigTest::ansiLineIndex()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    const QByteArray bytes = AnsiText::encode(text);
    const AnsiText::Lines index(bytes);
    QCOMPARE(index.size(), lines.size());
    QCOMPARE(index.isEmpty(), lines.isEmpty());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QCOMPARE(index.at(i), lines.at(i));
        QCOMPARE(index.bytesAt(i).toByteArray(), AnsiText::encode(lines.at(i)));
    }
    QCOMPARE(index.toStringList(), lines);

    QTemporaryDir dir;
    const QString file = dir.filePath(u"v1.txt"_s);
    QVERIFY(AnsiText::writeBytes(file, bytes));
    const std::optional<AnsiText::Lines> read = AnsiText::readLineIndex(file);
    QVERIFY(read.has_value());
    QCOMPARE(read->toStringList(), lines);
    QVERIFY(*read == index);
    QCOMPARE(AnsiText::readLines(file).value_or(QStringList{u"unread"_s}), lines);
    QVERIFY(!AnsiText::readLineIndex(dir.filePath(u"missing.txt"_s)).has_value());
}

void ConfigTest::ansiLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(AnsiText::splitLines(text), lines);
}

void ConfigTest::ansiUnmappableAndAppend()
{
    QCOMPARE(AnsiText::encode(u"Ёж €"_s), "\xa8\xe6 \x88"_ba);
    QCOMPARE(AnsiText::encode(u"a☺b😀c"_s), "a?b?c"_ba);
    QCOMPARE(AnsiText::decode("\xcf\xf0\xe8\xe2\xe5\xf2"_ba), u"Привет"_s);

    QTemporaryDir dir;
    const QString file = dir.filePath(u"report.txt"_s);
    QVERIFY(AnsiText::append(file, u"Один\r\n"_s));
    QVERIFY(AnsiText::append(file, u"Два\r\n"_s));
    QCOMPARE(AnsiText::readLines(file).value_or(QStringList()), (QStringList{u"Один"_s, u"Два"_s}));
    FileError error;
    QVERIFY(!AnsiText::append(dir.filePath(u"missing/report.txt"_s), u"x"_s, &error));
    QCOMPARE(error.kind(), FileError::Kind::NotFound);
    QCOMPARE(error.reason(LanguagePolicy(u"rus"_s)), u"нет такого файла или папки"_s);
    QVERIFY(!AnsiText::readWhole(dir.filePath(u"missing.txt"_s)).has_value());
}

// A character the code page cannot hold becomes one '?' wherever it stands; the text around
// it keeps every byte.
void ConfigTest::ansiUnmappableInALongText()
{
    QString head;
    while (head.size() < 5000)
        head += u"Съешь же ещё этих мягких булок. "_s;
    const QString tail = u" Ёж, €, «кавычки»."_s;
    const QByteArray expected = AnsiText::encode(head) + '?' + AnsiText::encode(tail);
    QCOMPARE(AnsiText::encode(head + u"中"_s + tail), expected);
    QCOMPARE(AnsiText::encode(head + u"😀"_s + tail), expected);
    QCOMPARE(AnsiText::encode(head + QChar(0xDC00) + tail), expected);
    QCOMPARE(AnsiText::encode(head + QChar(0xD800)), AnsiText::encode(head) + '?');
    QCOMPARE(AnsiText::decode(expected), head + u'?' + tail);
}

void ConfigTest::folders()
{
    QTemporaryDir dir;
    const QString root = dir.path();

    // Two missing levels are created parent first; an existing path changes nothing.
    MakeDirPath(root + u"/exam/b1"_s);
    QVERIFY(QFileInfo(root + u"/exam/b1"_s).isDir());
    MakeDirPath(root + u"/exam/b1"_s);
    QVERIFY(QFileInfo(root + u"/exam/b1"_s).isDir());
    // A level that exists as a file is not replaced.
    writeFile(root + u"/file"_s, "keep");
    MakeDirPath(root + u"/file/inner"_s);
    QVERIFY(QFileInfo(root + u"/file"_s).isFile());

    // Three folders and one file count 4, with or without a trailing separator;
    // hidden entries do not count and folders are not entered.
    const QString exam = root + u"/exam"_s;
    MakeDirPath(exam + u"/b2"_s);
    MakeDirPath(exam + u"/b3/inner"_s);
    writeFile(exam + u"/lzm.lzm"_s, "Title\r\n");
    writeFile(exam + u"/.hidden"_s, "x");
    MakeDirPath(exam + u"/.git"_s);
    QStringList list{u"stale"_s};
    QCOMPARE(GetFolders(exam, &list), 4);
    QCOMPARE(list, (QStringList{exam + u"/b1"_s, exam + u"/b2"_s, exam + u"/b3"_s, exam + u"/lzm.lzm"_s}));
    QCOMPARE(GetFolders(exam + u'/', &list), 4);

    // Links count as what they point to, as a directory listing of Qt counts them: a link to a
    // folder or a file counts, a broken link and a named pipe do not; a Cyrillic name stays whole.
    const QString kinds = root + u"/kinds"_s;
    MakeDirPath(kinds + u"/билет"_s);
    writeFile(kinds + u"/file"_s, "x");
    QVERIFY(QFile::link(kinds + u"/билет"_s, kinds + u"/to-folder"_s));
    QVERIFY(QFile::link(kinds + u"/file"_s, kinds + u"/to-file"_s));
    QVERIFY(QFile::link(kinds + u"/nowhere"_s, kinds + u"/broken"_s));
    QCOMPARE(::mkfifo(QFile::encodeName(kinds + u"/pipe"_s).constData(), 0600), 0);
    QCOMPARE(GetFolders(kinds, &list), 4);
    QStringList expected;
    for (const QString &name :
         QDir(kinds).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        expected << kinds + u'/' + name;
    QCOMPARE(list, expected);

    // An empty folder: 0 and an empty list.
    MakeDirPath(root + u"/empty"_s);
    QCOMPARE(GetFolders(root + u"/empty"_s, &list), 0);
    QVERIFY(list.isEmpty());

    QVERIFY(DoesFileExist(exam + u"/lzm.lzm"_s));
    QVERIFY(DoesFileExist(exam + u"/b1"_s));
    QVERIFY(!DoesFileExist(exam + u"/b9"_s));
    QVERIFY(!DoesFileExist(QString()));

    QVERIFY(isPathComponent(u"География"_s));
    QVERIFY(isPathComponent(u"b.."_s));
    for (const QString &bad : {QString(), u"."_s, u".."_s, u"a/b"_s, u"a\\b"_s, u"/"_s})
        QVERIFY2(!isPathComponent(bad), qPrintable(bad));
}

void ConfigTest::pathNames_data()
{
    using PathNames::Problem;
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("problem");
    QTest::addColumn<QString>("named"); // what the English refusal must name

    QTest::newRow("cyrillic") << u"География России"_s << int(Problem::None) << QString();
    QTest::newRow("latin with dot inside") << u"exam.2024"_s << int(Problem::None) << QString();
    QTest::newRow("punctuation of 1251") << u"Тест №1 (Ёж) — «итог»"_s << int(Problem::None) << QString();
    QTest::newRow("device name inside a word") << u"CONSOLE"_s << int(Problem::None) << QString();
    QTest::newRow("COM0 is no device") << u"COM0"_s << int(Problem::None) << QString();
    QTest::newRow("leading dot") << u".hidden"_s << int(Problem::None) << QString();
    QTest::newRow("100 characters") << QString(100, u'ж') << int(Problem::None) << QString();

    QTest::newRow("empty") << QString() << int(Problem::Empty) << QString();
    QTest::newRow("chinese") << u"экзамен中文"_s << int(Problem::NotWindows1251) << u"中"_s;
    QTest::newRow("emoji") << u"3😀"_s << int(Problem::NotWindows1251) << u"😀"_s;
    QTest::newRow("tab") << u"a\tb"_s << int(Problem::ControlCharacter) << u"control"_s;
    QTest::newRow("line break") << u"a\nb"_s << int(Problem::ControlCharacter) << u"control"_s;
    QTest::newRow("delete character") << u"a\u007fb"_s << int(Problem::ControlCharacter) << u"control"_s;
    QTest::newRow("colon") << u"a:b"_s << int(Problem::ForbiddenCharacter) << u"\":\""_s;
    QTest::newRow("wildcards") << u"*?<>|"_s << int(Problem::ForbiddenCharacter) << u"\"*\""_s;
    QTest::newRow("slash") << u"a/b"_s << int(Problem::ForbiddenCharacter) << u"\"/\""_s;
    QTest::newRow("backslash") << u"..\\b"_s << int(Problem::ForbiddenCharacter) << u"\"\\\""_s;
    QTest::newRow("quote") << u"a\"b"_s << int(Problem::ForbiddenCharacter) << u"\"\"\""_s;
    QTest::newRow("trailing blank") << u"Экзамен "_s << int(Problem::EdgeBlank) << u"blank"_s;
    QTest::newRow("leading blank") << u" Экзамен"_s << int(Problem::EdgeBlank) << u"blank"_s;
    QTest::newRow("three dots") << u"..."_s << int(Problem::TrailingDot) << u"dot"_s;
    QTest::newRow("trailing dot") << u"экзамен."_s << int(Problem::TrailingDot) << u"dot"_s;
    QTest::newRow("CON") << u"CON"_s << int(Problem::ReservedDevice) << u"device"_s;
    QTest::newRow("con in small letters") << u"con"_s << int(Problem::ReservedDevice) << u"device"_s;
    QTest::newRow("NUL with an extension") << u"Nul.txt"_s << int(Problem::ReservedDevice) << u"device"_s;
    QTest::newRow("AUX with two extensions") << u"aux.tar.gz"_s << int(Problem::ReservedDevice) << u"device"_s;
    QTest::newRow("PRN before a blank and extension") << u"PRN .txt"_s << int(Problem::ReservedDevice) << u"device"_s;
    QTest::newRow("COM1") << u"COM1"_s << int(Problem::ReservedDevice) << u"device"_s;
    QTest::newRow("lpt9") << u"lpt9"_s << int(Problem::ReservedDevice) << u"device"_s;
    QTest::newRow("101 characters") << QString(101, u'ж') << int(Problem::TooLong) << u"100"_s;
}

void ConfigTest::pathNames()
{
    QFETCH(QString, name);
    QFETCH(int, problem);
    QFETCH(QString, named);

    const PathNames::Problem found = PathNames::problem(name);
    QCOMPARE(int(found), problem);
    const PathNames::Refusal refusal = PathNames::refusal(name, found);
    if (found == PathNames::Problem::None) {
        QVERIFY(refusal.russian.isEmpty() && refusal.english.isEmpty());
        return;
    }
    QVERIFY(!refusal.russian.isEmpty());
    QVERIFY2(refusal.english.contains(named), qPrintable(refusal.english));
    // The Russian text names the same character.
    if (named.startsWith(u'"'))
        QVERIFY2(refusal.russian.contains(u'«' + named.mid(1, named.size() - 2) + u'»'), qPrintable(refusal.russian));
}

void ConfigTest::questionNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("1") << u"1"_s << true;
    QTest::newRow("32767") << u"32767"_s << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("0") << u"0"_s << false;
    QTest::newRow("32768") << u"32768"_s << false;
    QTest::newRow("99999") << u"99999"_s << false;
    QTest::newRow("leading zero") << u"02"_s << false;
    QTest::newRow("negative") << u"-2"_s << false;
    QTest::newRow("plus") << u"+2"_s << false;
    QTest::newRow("bracket") << u"2]"_s << false;
    QTest::newRow("section header") << u"[2]]"_s << false;
    QTest::newRow("chinese") << u"中"_s << false;
    QTest::newRow("emoji") << u"3😀"_s << false;
    QTest::newRow("blank") << u"2 "_s << false;
    QTest::newRow("fraction") << u"2,5"_s << false;
    QTest::newRow("arabic-indic digit") << u"\u0663"_s << false;
}

void ConfigTest::questionNumbers()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QCOMPARE(PathNames::isQuestionNumber(text), accepted);
}

void ConfigTest::demoProgramFolderOnACyrillicPath()
{
    // The demo settings find the demo exam although the program folder's path is not ASCII.
    QTemporaryDir dir;
    const QString program = dir.filePath(u"программа"_s);
    QProcess layOut;
    layOut.start(u"sh"_s, {QStringLiteral(TAVRING_SOURCE_DIR "/scripts/lay-out-program-folder.sh"),
                           QStringLiteral(TAVRING_SOURCE_DIR "/demo"), program});
    QVERIFY(layOut.waitForFinished(60000));
    QCOMPARE(layOut.exitCode(), 0);
    const QString exam = GetValueString(u"test"_s, u"z"_s, program + u"/test.ini"_s);
    QCOMPARE(exam, program + u"/b/geography"_s);
    QVERIFY(QFileInfo::exists(exam + u"/lzm.lzm"_s));
    QCOMPARE(GetValueString(u"test"_s, u"bilet"_s, program + u"/test.ini"_s), u"3"_s);
    // Every line of test.ini ends in CR LF, as the program writes its files.
    QFile ini(program + u"/test.ini"_s);
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray bytes = ini.readAll();
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
    QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));
}

QTEST_GUILESS_MAIN(ConfigTest)
#include "tst_config.moc"
