#pragma once

// Which global receives which key: the table that Language::LoadTexts walks. Internal to the core library.

#include <QString>
#include <QStringList>
#include <QVector>

#include <mutex>

struct TextGlobal
{
    QString Key;
    QString* Text;      // a single text, or
    QStringList* List;  // a list text: split at "|", empty parts kept
};

struct TextGroupGlobals
{
    QString Group;
    QVector<TextGlobal> Globals;
};

// The groups in load order: Tips, Misc, Device.
const QVector<TextGroupGlobals>& TextGlobalGroups();

// Held while the globals are replaced, and by TextForThread while it copies one.
std::mutex& TextGlobalsMutex();
