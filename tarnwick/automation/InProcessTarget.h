#pragma once

#include "tarnwick/automation/AutomationTarget.h"

#include <memory>

/// An automation object in the program's own process: a plugin's, or one registered in-process.
/// Its calls run to their end before they return and cannot be interrupted.
class InProcessTarget : public AutomationTarget
{
public:
    /// Takes ownership of `object`.
    explicit InProcessTarget(QObject *object);
    ~InProcessTarget() override;

    bool hasMember(const QString &member) override;
    QVariant call(const QString &member, const QVariantList &arguments) override;
    void callLater(
        const QString &member, const QVariantList &arguments, QObject *context, Done done) override;
    bool isAlive() const override { return true; }
    void interrupt() override { }

private:
    std::unique_ptr<QObject> m_object;
};
