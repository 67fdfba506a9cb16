#pragma once

#include "app/Form1.h"
#include "fakes/FakePlatform.h"
#include "textbox/TextBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// The window over a faked platform, for the widget tests: its controls by name, and a
// click that reads and dismisses any message box the click brings up.
class Form1Fixture {
public:
    explicit Form1Fixture(QByteArray folder = "/v")
        : fake(std::move(folder))
        , form(fake.platform())
    {
    }

    FakePlatform fake;
    app::Form1 form;

    // Shows the window and waits until it has the keyboard focus.
    [[nodiscard]] bool show()
    {
        form.show();
        return QTest::qWaitForWindowActive(&form);
    }

    template <typename T = QWidget> T *control(const char *name)
    {
        auto *found = form.findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    textbox::TextBox *box(const char *name) { return control<textbox::TextBox>(name); }
    QPushButton *button(const char *name) { return control<QPushButton>(name); }

    // Clicks the button; each message box shown meanwhile is kept as "title: text", then
    // dismissed.
    void click(const char *name)
    {
        dismissingMessages([&] { button(name)->click(); });
    }
    // The same for a click of the mouse.
    void clickWithMouse(const char *name)
    {
        dismissingMessages([&] { QTest::mouseClick(button(name), Qt::LeftButton); });
    }
    template <typename Action> void dismissingMessages(Action action)
    {
        QTimer dismisser;
        QObject::connect(&dismisser, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                messages.append(box->windowTitle() + QStringLiteral(": ") + box->text());
                box->accept();
            }
        });
        dismisser.start(0);
        action();
    }
    QStringList messages;
};
