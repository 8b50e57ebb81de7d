#pragma once

#include <QObject>
#include <memory>

class QMainWindow;

// Owns the application's start-up and its main window.
class AppDelegate : public QObject
{
    Q_OBJECT
public:
    explicit AppDelegate(QObject *parent = nullptr);
    ~AppDelegate() override;

    void applicationDidFinishLaunching();
    QMainWindow *mainWindow() const { return m_window.get(); }

private:
    std::unique_ptr<QMainWindow> m_window;
};
