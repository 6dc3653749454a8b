#include "app/application.h"
#include "gui/bank/bank_window.h"
#include "gui/editor/exam_editor_window.h"
#include "support/program_folder.h"
