// The words the window shows, exactly as the player reads them.
#pragma once

#include <QString>

namespace texts {

inline const QString AppTitle = QStringLiteral("Zarquel");
inline const QString Wasted = QStringLiteral("You've wasted this much time:");
inline const QString Seconds = QStringLiteral("seconds");
inline const QString TakeFocus = QStringLiteral("For Focus");

inline const QString InstructionsTitle = QStringLiteral("Instructions");
inline const QString Instructions = QStringLiteral(
    "You must make all 25 squares be RED at the same time, in as little time as possible.  "
    "This can be accomplished by clicking on the squares.  "
    "Each square, when clicked, will change itself and a predetermined set of squares near it "
    "into the opposite colors.  "
    "It is left to you to determine which squares are controlled by each of the 25 squares.");

inline const QString AboutTitle = QStringLiteral("About Zarquel");
// Three lines joined by CR LF.
inline const QString About = QStringLiteral("Zarquel version " ZARQUEL_VERSION "\r\n"
                                            "Written by the Zarquel developers\r\n"
                                            "Copyright 2026");

} // namespace texts
