#include "ComponentOwner.h"

#include "BoundControl.h"

#include <ranges>

namespace olg {

BoundControl* ComponentOwner::Bound(QObject* component) {
    auto* bound = dynamic_cast<BoundControl*>(component);
    return bound != nullptr && bound->Tag().IsBound() ? bound : nullptr;
}

void ComponentOwner::LoadComponents(const TOLG& record, const Filter& accept) const {
    for (const QPointer<QObject>& component : std::views::reverse(components_)) {
        BoundControl* bound = Bound(component.data());
        if (bound == nullptr || (accept && !accept(component.data())))
            continue;
        const ParamValue& value = record.Value(bound->Tag().Id());
        if (!value.IsEmpty())
            bound->LoadValue(value);
    }
}

void ComponentOwner::StoreComponents(TOLG& record) const {
    for (const QPointer<QObject>& component : std::views::reverse(components_)) {
        BoundControl* bound = Bound(component.data());
        if (bound == nullptr)
            continue;
        ParamValue value = record.Value(bound->Tag().Id());
        bound->StoreValue(value);
        record.SetValue(bound->Tag().Id(), std::move(value));
    }
}

} // namespace olg
