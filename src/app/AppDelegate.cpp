#include "app/AppDelegate.h"

#include <QApplication>
#include <QMainWindow>

AppDelegate::AppDelegate(QObject *parent) : QObject(parent) {}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching()
{
    m_window = std::make_unique<QMainWindow>();
    m_window->setWindowTitle(QApplication::applicationName());
    m_window->resize(1100, 700);
    m_window->show();
}
