// The stored form of a saved device password.
#include "DeviceManage.h"

#include <QByteArray>

namespace {

// Cuts at the first zero byte and reads UTF-8.
QString TextUpToZero(const QByteArray& bytes)
{
    const int zero = bytes.indexOf('\0');
    return QString::fromUtf8(zero < 0 ? bytes : bytes.left(zero));
}

// Odd-indexed bytes first, then the even-indexed ones, each group in order.
QString ShuffleText(const QString& text)
{
    if (text.isEmpty())
        return QString();
    const QByteArray b = text.toLatin1();
    const int n = b.size();
    const int h = n / 2;
    QByteArray out(n, '\0');
    for (int i = 0; i < n; ++i)
        out[i % 2 == 1 ? i / 2 : h + i / 2] = b[i];
    return TextUpToZero(out);
}

QString UnshuffleText(const QString& text)
{
    if (text.isEmpty())
        return QString();
    const QByteArray b = text.toLatin1();
    const int n = b.size();
    const int h = n / 2;
    QByteArray out(n, '\0');
    for (int i = 0; i < n; ++i)
        out[i] = b[i % 2 == 1 ? i / 2 : h + i / 2];
    return TextUpToZero(out);
}

}  // namespace

QString DeviceManage::EncodePassword(const QString& password)
{
    if (password.isEmpty())
        return QString();
    const QByteArray base64 = password.toUtf8().toBase64(QByteArray::Base64Encoding | QByteArray::OmitTrailingEquals);
    return ShuffleText(QString::fromLatin1(base64));
}

QString DeviceManage::DecodePassword(const QString& text)
{
    if (text.isEmpty())
        return QString();
    const QByteArray bytes = QByteArray::fromBase64(UnshuffleText(text).toLatin1());
    return TextUpToZero(bytes);
}
