#pragma once
// The system code page (Qt's locale codec off Windows) for one test, put back when it ends.

#include <QByteArray>
#include <QTextCodec>

class TestCodePage
{
public:
    // An empty name leaves the code page as it is.
    explicit TestCodePage(const QByteArray &name) : m_before(QTextCodec::codecForLocale())
    {
        if (!name.isEmpty())
            QTextCodec::setCodecForLocale(QTextCodec::codecForName(name));
    }
    ~TestCodePage() { QTextCodec::setCodecForLocale(m_before); }
    TestCodePage(const TestCodePage &) = delete;
    TestCodePage &operator=(const TestCodePage &) = delete;

private:
    QTextCodec *m_before;
};
