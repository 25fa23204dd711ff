#pragma once

#include <QObject>
#include <QPointer>

#include <vector>

namespace olg {

// The components a configuration dialog owns, in the order they were created: first its form's, then those
// of each page in the order the pages were added. The binding walks them from last to first, and pages rely
// on that order (a box loaded before the box whose handler reads it).
class ComponentOwner {
public:
    virtual ~ComponentOwner() = default;

    void AddComponent(QObject* component) { components_.emplace_back(component); }
    // Components destroyed since they were added read as null.
    const std::vector<QPointer<QObject>>& Components() const { return components_; }

private:
    std::vector<QPointer<QObject>> components_;
};

} // namespace olg
