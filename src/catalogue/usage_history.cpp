// Readers of the usage history. The history is not read yet: no program is known by name.
#include "catalogue/usage_history.h"

void ReadUserAssistNt6(std::vector<AppEntry>&) {}

void ReadUserAssistNt5(std::vector<AppEntry>&) {}
