#pragma once

#include <QString>

// A settings file in the profile format: "[section]" headers followed by
// "key=value" entries, in the workstation's 8-bit code page. Section and key
// names compare without regard to case. A save rewrites only the entry it
// sets (or adds it); every other line of the file stays byte for byte.
class ProfileFile {
public:
    explicit ProfileFile(QString path);

    // The stored value, or the empty text when the file, the section or the key
    // is missing. Blanks around the value and one pair of enclosing quotes are
    // dropped; at most 2047 characters are given back.
    QString readString(const QString& section, const QString& key) const;

    // Sets the value: the file, the section (at the end of the file) and the key
    // (after the section's last entry) are added when missing. Fails with
    // "Unable to write to %s" and the file's path.
    void writeString(const QString& section, const QString& key, const QString& value) const;

private:
    QString path_;
};
