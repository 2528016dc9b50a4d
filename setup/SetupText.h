#pragma once

// The installer's own texts: captions, messages and the page texts.
namespace SetupText {

inline constexpr char kTitle[] = "Selvik Electronics Workbench 1.0 Setup";
inline constexpr char kCannotCreateDestination[] = "Destination directory cannot be created.";
inline constexpr char kGroupName[] = "Electronics";
inline constexpr char kProgramItem[] = "KEST 1.0";
inline constexpr char kCannotRead[] = "Cannot read file from source disk.";
inline constexpr char kIncomplete[] = "Setup is incomplete.";
inline constexpr char kEnterSource[] = "Please enter correct source directory.";
inline constexpr char kCannotWrite[] = "Cannot write file to the destination directory.";
inline constexpr char kHelpItem[] = "KEST Help";

inline constexpr char kLicenceIntro[] =
    "Please read the following agreement. Scroll to see the rest of the agreement.";
inline constexpr char kLicenceQuestion[] =
    "Do you accept all of the terms of the preceding User License Agreement? If you choose No, "
    "you must not use the Software. If you want to use the Software, you must accept this "
    "agreement.";
inline constexpr char kWelcomeGreeting[] =
    "Welcome to Selvik Electronics Workbench 1.0 Setup. This program installs the workbench, "
    "its component library, its simulation engine, sounds, help and example circuits on your "
    "computer.";
inline constexpr char kWelcomeProceed[] = "To proceed with setup, click Continue.";
inline constexpr char kDestinationIntro[] =
    "Setup will install Selvik Electronics Workbech 1.0 in the following directory.";
inline constexpr char kDestinationContinue[] = "To install to this directory, click Continue.";
inline constexpr char kDestinationOther[] =
    "To install to a different directory, enter new directory in Destination Directory box.";
inline constexpr char kDestinationExit[] =
    "You can choose not to install Selvik Electronics Workbench 1.0 by clicking Exit Setup.";
inline constexpr char kDestinationGroup[] = " Destination Directory ";
inline constexpr char kExistingCopy[] =
    "A copy of the software already exists in the destination directory.";
inline constexpr char kExistingAgain[] = "To install this software again, click Continue.";
inline constexpr char kExistingBack[] = "To install to a different directory, click Back.";
inline constexpr char kDiskSpace[] =
    "Not enough disk space on target drive while attempting to copy files.";
inline constexpr char kDiskSpaceFree[] =
    "To proceed with setup, first free disk space on the target drive and then click Continue.";
inline constexpr char kQuitLine1[] = "Setup is not complete. If you quit Setup program now,";
inline constexpr char kQuitLine2[] = "the program will not be installed.";
inline constexpr char kDone[] = "Setup was completely successful !";
inline constexpr char kInProgress[] = "Setup is now in progress...";
inline constexpr char kInstalling[] = "Installing:";
inline constexpr char kNextDisk[] = "Please insert next disk.";

// The licence agreement, kept as three parts that are shown joined.
extern const char* const kLicenceParts[3];

} // namespace SetupText
