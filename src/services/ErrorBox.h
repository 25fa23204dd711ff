#pragma once

#include "MessageFormat.h"
#include "Prompts.h"

#include <QString>

namespace olg {

// The message of the program's own error table with the argument in place of %s.
QString ErrorText(ErrorMessage index, const QString& argument = {});

// Shows that message as an error box.
void ShowError(Prompts& prompts, ErrorMessage index, const QString& argument = {});

} // namespace olg
