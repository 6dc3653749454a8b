#include "support/windows.h"

#include "gui/chooser/exam_chooser_window.h"
#include "gui/editor/exam_editor_window.h"
#include "gui/exam/answers_review_window.h"
#include "gui/exam/evaluation_window.h"
#include "gui/exam/ticket_window.h"
#include "gui/lab/lab_window.h"
#include "gui/questionnaire/questionnaire_window.h"
#include "gui/results/results_window.h"
#include "gui/settings/settings_window.h"
#include "gui/start/about_window.h"
#include "gui/start/start_window.h"
#include "support/roads.h"

using namespace Qt::StringLiterals;

const QStringList GuardedForms{u"Form1"_s, u"Form10"_s, u"Form4"_s, u"Form9"_s, u"Form7"_s,
                               u"Form6"_s, u"frmResults"_s, u"frmLab"_s, u"Form2"_s, u"Form8"_s, u"Form5"_s};

QWidget *openWindow(Application &app, const QString &form)
{
    if (form == "Form1"_L1)
        return app.startWindow();
    if (form == "Form10"_L1) {
        app.showAbout();
        return app.aboutWindow();
    }
    if (form == "Form4"_L1) {
        app.showSettings();
        return app.settingsWindow();
    }
    if (form == "Form9"_L1) {
        app.openExamChooser(QString());
        return app.examChooser();
    }
    if (form == "Form7"_L1) {
        app.openExamEditor();
        return app.examEditor();
    }
    if (form == "Form6"_L1) {
        app.openTestWindow();
        return app.testWindow();
    }
    if (form == "frmResults"_L1) {
        app.openResults();
        return app.resultsWindow();
    }
    if (form == "frmLab"_L1) {
        app.openLab();
        return app.labWindow();
    }
    TicketWindow *ticket = openTicketByNumber(app);
    if (form == "Form2"_L1)
        return ticket;
    if (form == "Form8"_L1)
        return app.openAnswersReview();
    app.closeTicket();
    return app.evaluationWindow();
}
