// Levels of the diagnostic log. A line is written when its level is at most
// the log's threshold, which is LOG_LEVEL_PROGRESS once the log is open.
#pragma once

enum LogLevel : unsigned {
    LOG_LEVEL_FAILURE = 0,  // something did not work; the run goes on
    LOG_LEVEL_PROGRESS = 2, // a step of the check was reached
};
