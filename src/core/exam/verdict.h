#pragma once

// The verdict of a ticket: none while no usable pass score decided it, passed or failed by
// the grade against the pass score, or failed because the time ran out. It stays a value
// until a window shows it or the report writes it (ExamRecordTexts makes its captions).
enum class Verdict { None, Passed, Failed, FailedOnTime };
