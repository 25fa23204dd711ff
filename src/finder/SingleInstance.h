#pragma once

#include <QObject>

namespace olg {

// At most one running instance of the program per user: a second start hands over to the first.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // True when this is the only instance, which from now on hears later starts. False when another one
    // runs: it was asked to come to the front, and this one should end without a word.
    virtual bool Claim() = 0;

signals:
    // A later start asked this instance to come to the front.
    void ActivationRequested();
};

} // namespace olg
