#pragma once

// The questionnaire window (Form6) under the header name its callers have always used.
#include "gui/questionnaire/questionnaire_window.h"
