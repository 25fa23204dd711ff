#include "DialogFactory.h"

namespace olg {

void DialogFactory::Register(const std::string& model, Runner runner) {
    runners_[model] = std::move(runner);
}

const DialogFactory::Runner* DialogFactory::Find(const std::string& model) const {
    const auto found = runners_.find(model);
    return found == runners_.end() ? nullptr : &found->second;
}

} // namespace olg
