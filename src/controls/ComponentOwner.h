#pragma once

#include "TOLG.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

namespace olg {

class BoundControl;

// The components a configuration dialog owns, in the order they were created: first its form's, then those
// of each page in the order the pages were added. The binding walks them from last to first, and pages rely
// on that order (a box loaded before the box whose change handler reads it).
class ComponentOwner {
public:
    using Filter = std::function<bool(const QObject*)>;

    virtual ~ComponentOwner() = default;

    void AddComponent(QObject* component) { components_.emplace_back(component); }
    // Components destroyed since they were added read as null.
    const std::vector<QPointer<QObject>>& Components() const { return components_; }

    // Loads every bound component that the filter accepts (all when it is empty) from the record, last
    // created first; a parameter the record holds no value for leaves its control as it is.
    void LoadComponents(const TOLG& record, const Filter& accept = {}) const;
    // Stores every bound component into the record, last created first.
    void StoreComponents(TOLG& record) const;

    // The component's binding, or nullptr when it is not a bindable control or its tag is 0.
    static BoundControl* Bound(QObject* component);

private:
    std::vector<QPointer<QObject>> components_;
};

} // namespace olg
