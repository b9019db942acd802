#pragma once

#include <QString>
#include <QStringList>

class QTranslator;

// Qt's own texts (the buttons of message boxes, the file and print dialogs,
// its error messages) come in English unless a catalogue is installed. Every
// text of ours is Brazilian Portuguese, so Qt's are too, whatever language
// the machine is set to.

// Where Qt's catalogues are looked for, in order: the folder "translations"
// beside the executable (the Windows package carries them there), then the
// folder of the Qt the program runs on.
QStringList qtTranslationFolders();

// Installs "qtbase_pt_BR" from the first of the folders that has it, for the
// whole application. The translator belongs to the application; null when no
// folder has the catalogue (Qt's texts then stay in English).
QTranslator *installQtTranslations(const QStringList &folders = qtTranslationFolders());
