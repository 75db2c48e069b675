// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace zerwa {

// Why the journal or one of its records cannot be used. The programs and the tool word it
// each in their own language.
struct JournalProblem {
    enum class Kind {
        NoFolder,     // no variable names a folder for the journal
        NotAFolder,   // the journal's path is a file or another entry that is not a folder
        DanglingLink, // the journal's path is a symbolic link to nothing
        CannotCreate, // the folder could not be made
        CannotRead,   // the folder or a record could not be read
        CannotWrite,  // a record could not be written
        NoSuchRecord, // no record has this id
        Damaged,      // the file is not a whole record as the programs write it
    };
    Kind kind;
    QString path; // the folder or the record's file
    // The system's reason for a failed write, what is wrong with a damaged file, the file in
    // the way of a folder that could not be made; empty where the kind says it all.
    QString detail;
};

} // namespace zerwa
