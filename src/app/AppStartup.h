#pragma once

#include "platform/SingleInstance.h"

#include <QDateTime>
#include <QString>
#include <QtGlobal>

// Process-wide set-up of the console, in the order main() runs it.

// Log level, message handler, random seed, screen size, application identity, media library
// logging off, and the clean-up of log files older than 30 days in ./Log.
void initData();

// Formats every message as one log line, hands it to the previous handler and the log writer.
void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text);

// Working directory = program folder, then the skin and the interface language (both recorded in
// the settings files).
void loadLanguageAndSkin();

namespace AppStartup {

// The finished line of messageHandler, stamped with now.
QString formatLogLine(QtMsgType type, const QMessageLogContext& context, const QString& text,
                      const QDateTime& now);

// The origin field of a log line: "[file]->[function](line)".
QString originOf(const QMessageLogContext& context);

// Whether a log file is older than 30 days by its creation or its modification time. A time the
// file system does not keep (invalid) never counts as old.
bool isExpiredLog(const QDateTime& created, const QDateTime& modified, const QDateTime& now);

// Deletes the expired "*.log" and "*.dat" files directly in dir (no sub-folders, no links).
// Returns how many files were looked at; nothing happens when dir does not exist.
int cleanOldLogs(const QString& dir, const QDateTime& now);

// Language index of a locale name: 0 Simplified Chinese (China), 1 Traditional Chinese
// (Taiwan), 2 English (any other country, or no name).
int languageIndexOf(const QString& localeName);

// Removes the lock files of the settings files in programFolder that name no owner (left by a
// kill or a power cut during a save), so that the first settings write does not wait for them to
// grow stale.
void releaseOwnerlessSettingsLocks(const QString& programFolder);

// Takes the single instance and, once this copy holds it, releases the ownerless settings locks
// of programFolder: while another copy runs, a lock without an owner's name may be one that copy
// has just created and not yet filled in. Called before the first settings write.
SingleInstance::Result holdSingleInstance(SingleInstance* single, const QString& programFolder);

// Installs the translators of the stored language and records its index in g_languageIndex
// and in data/ClientConfig.dat (relative to the working directory).
void applyLanguage();

// Applies the skin named in data/MainConfig.dat.
void applySkin();

} // namespace AppStartup
