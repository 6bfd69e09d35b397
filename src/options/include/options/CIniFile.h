#pragma once
// Reads and writes single values of an INI file in the options folder
// (modVantrel::IniFolder: the program's folder for a portable copy),
// with the usual private-profile rules: sections and keys match without
// regard to letter case, every other line of the file is kept as it was,
// and the file is created by the first write.

#include <QString>

class CIniFile {
public:
    CIniFile();  // takes the folder from modVantrel::IniFolder()

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
    // Writes the key's value, creating the folder when missing. A write the
    // system refuses leaves the previous file as it was and is reported once:
    // the object's later writes are skipped silently.
    void SetStringValue(const QString& pNewValue);

private:
    enum class Operation { Read, Write };
    [[nodiscard]] bool PropertiesAreSet(Operation operation) const;

    QString m_fileName;
    QString m_section;
    QString m_key;
    QString m_folder;
    QString m_fullPath;
    bool m_writeRefused = false;
};
