#include "ErrorBox.h"

#include <QCoreApplication>

namespace olg {

QString ErrorText(ErrorMessage index, const QString& argument) {
    const std::string_view pattern = ErrorMessages.at(static_cast<std::size_t>(index));
    // The table is the core's, without Qt: its texts are looked up for translation here. They are ASCII,
    // and each ends with a NUL, as the look-up expects.
    QString text = QCoreApplication::translate("ErrorBox", pattern.data());
    return text.replace(QStringLiteral("%s"), argument);
}

void ShowError(Prompts& prompts, ErrorMessage index, const QString& argument) {
    prompts.ShowError(ErrorText(index, argument));
}

} // namespace olg
