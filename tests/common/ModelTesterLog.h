#pragma once

#include <QAbstractItemModelTester>
#include <QStringList>

// Collects what QAbstractItemModelTester reports while it lives.
class ModelTesterLog
{
public:
    ModelTesterLog() { s_previous = qInstallMessageHandler(&ModelTesterLog::handle); }
    ~ModelTesterLog()
    {
        qInstallMessageHandler(s_previous);
        s_failures.clear();
    }
    QStringList failures() const { return s_failures; }

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (QLatin1String(context.category) == QLatin1String("qt.modeltest") && type != QtDebugMsg)
            s_failures.append(message);
    }
    static inline QtMessageHandler s_previous = nullptr;
    static inline QStringList s_failures;
};
