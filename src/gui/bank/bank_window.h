#pragma once

#include "core/bank/bank_import.h"
#include "core/platform.h"
#include "core/program/language_policy.h"
#include "gui/common/captions.h"

#include <QFutureWatcher>
#include <QWidget>

class BankPreviewModel;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableView;
class QTimer;
class WindowContext;

// The question banks window of the exam editor: reads a bank file (Moodle XML, GIFT or Aiken)
// off the user-interface thread and shows its questions before anything is written, makes
// the tickets of an exam from them, and exports an exam to the three formats.
class BankWindow final : public QWidget
{
    Q_OBJECT

public:
    // `examFolder` is the exam the editor works on, offered first; empty when none.
    BankWindow(const WindowContext &context, const QString &examFolder, QWidget *parent = nullptr);

    // Reads a bank file, as "Открыть файл" does after its dialog.
    void readBank(const QString &path);

signals:
    // A bank file was read (or refused); the table shows its questions.
    void bankRead();
    // An exam was written from the bank.
    void examWritten(const QString &examFolder);
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void build();
    CaptionTable captionTable() const;
    void nameUncaptioned();
    void chooseFile();
    void bankFinished();
    void showSummary();
    void refreshExams();
    void showExportTickets();
    void makeExam();
    void exportExam();
    QString library() const;
    void say(const QString &russian, const QString &english, MessageIcon icon);

    QLabel *lblFile;
    QPushButton *cmdOpenFile;
    QProgressBar *prgRead;
    QLabel *lblSummary;
    QTableView *tblQuestions;

    QGroupBox *fraTickets;
    QRadioButton *optNewExam;
    QLineEdit *txtExamName;
    QRadioButton *optExistingExam;
    QComboBox *cboExam;
    QLabel *lblTitle;
    QLineEdit *txtTitle;
    QLabel *lblTickets;
    QSpinBox *spnTickets;
    QLabel *lblQuestions;
    QSpinBox *spnQuestions;
    QRadioButton *optInOrder;
    QRadioButton *optRandom;
    QCheckBox *chkCategories;
    QPushButton *cmdMakeExam;

    QGroupBox *fraExport;
    QComboBox *cboExportExam;
    QComboBox *cboExportTicket;
    QComboBox *cboExportFormat;
    QPushButton *cmdExport;
    QPushButton *cmdClose;

    const WindowContext &m_context;
    LanguagePolicy m_language;
    QString m_examFolder;
    QString m_bankPath;
    BankPreviewModel *m_model;
    QFutureWatcher<BankImport::Result> m_reading;
    // The progress bar shows only when a reading takes long.
    QTimer *m_slowReading;
};
