#pragma once

#include <QString>

namespace nuvisca {

// Files an action left out, named on the status line by the first of them.
struct SkippedFiles {
    int count = 0;
    QString first;
    void note(const QString& name);
    QString text() const;
};

// What adding files to the list took and what it left out.
struct AddedFiles {
    int added = 0;
    SkippedFiles notRecordings;
    SkippedFiles tooLarge;
    // What the status line says of the files left out, or nothing.
    QString skippedText() const;
    // The count added, then the files left out.
    QString text() const;
};

}  // namespace nuvisca
