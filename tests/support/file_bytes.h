// A file's bytes read or written whole, for tests that compare files byte for byte.
#pragma once

#include <QByteArray>
#include <QString>

// The file's bytes; empty when it cannot be read.
QByteArray ReadAll(const QString& path);
// Replaces the file's content (the test fails when it cannot be written).
void WriteAll(const QString& path, const QByteArray& bytes);
