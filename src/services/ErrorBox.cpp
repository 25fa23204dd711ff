#include "ErrorBox.h"

namespace olg {

QString ErrorText(ErrorMessage index, const QString& argument) {
    const std::string_view pattern = ErrorMessages.at(static_cast<std::size_t>(index));
    QString text = QString::fromLatin1(pattern.data(), static_cast<qsizetype>(pattern.size()));
    return text.replace(QStringLiteral("%s"), argument);
}

void ShowError(Prompts& prompts, ErrorMessage index, const QString& argument) {
    prompts.ShowError(ErrorText(index, argument));
}

} // namespace olg
