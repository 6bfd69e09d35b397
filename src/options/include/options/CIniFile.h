#pragma once
// Reads and writes single values of an INI file in the options folder
// (modVantrel::IniFolder: the program's folder for a portable copy),
// with the usual private-profile rules: sections and keys match without
// regard to letter case, every other line of the file is kept as it was,
// and the file is created by the first write.
//
// Values are bytes in the file and text here in the form FileNameText
// gives: UTF-8 reads as itself and any other byte as \xHH, so a value read
// and written back (a file name that is not UTF-8) keeps its bytes.

#include <QList>
#include <QString>

class CIniFile {
public:
    CIniFile();  // takes the folder from modVantrel::IniFolder()

    // One value of several written together (SetStringValues).
    struct Value {
        QString section;
        QString key;
        QString value;
    };

    [[nodiscard]] QString Name() const { return m_fileName; }
    // Binds the object to a file once; a second assignment is refused with
    // a message and changes nothing.
    void Name(const QString& pData);
    [[nodiscard]] QString Section() const { return m_section; }
    void Section(const QString& pData) { m_section = pData; }
    [[nodiscard]] QString Key() const { return m_key; }
    void Key(const QString& pData) { m_key = pData; }
    [[nodiscard]] QString FullPath() const { return m_fullPath; }

    // The key's value as a 16-bit number; the default when the key is missing.
    [[nodiscard]] short GetIntegerValue(short pDefaultValue);
    // The key's whole value; the default when the key is missing or empty.
    [[nodiscard]] QString GetStringValue(const QString& pDefaultValue);
    // Every key of the section with its value, in the file's order, read
    // in one pass (for lists of many keys); empty when there is none.
    [[nodiscard]] QList<Value> GetSectionValues();
    // Writes the key's value, creating the folder when missing. A write the
    // system refuses leaves the previous file as it was and is reported once,
    // with its reason and the values not saved in the detail log: the
    // object's later writes are skipped silently.
    void SetStringValue(const QString& pNewValue);
    // Writes the values, in order, as SetStringValue would one by one, but
    // with one replacement of the file: either all of them reach it or none.
    void SetStringValues(const QList<Value>& values);

private:
    enum class Operation { Read, Write };
    [[nodiscard]] bool PropertiesAreSet(Operation operation) const;
    [[nodiscard]] bool PropertiesAreSet(const QString& section, const QString& key, Operation operation) const;
    void Write(const QList<Value>& values);

    QString m_fileName;
    QString m_section;
    QString m_key;
    QString m_folder;
    QString m_fullPath;
    bool m_writeRefused = false;
};
