#pragma once

// Raw file access for the tests, past the code under test.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtTest>

// The file's bytes, or "<missing>" when it cannot be opened.
inline QByteArray ReadRaw(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline void WriteRaw(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), qint64(content.size()));
}
