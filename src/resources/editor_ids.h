/* Resource ids of the Editor: menu 116, accelerators 123, its commands and strings. Included by resource.h. */
#ifndef MRLYRICS_EDITOR_IDS_H
#define MRLYRICS_EDITOR_IDS_H

/* Commands of menu 116 and accelerators 123 (besides 50006 and 50007 of menu 114). */
#define ID_EDITOR_SWITCH_MODE 40011
#define ID_EDITOR_SAVE 40014
#define ID_EDITOR_UNDO 40015
#define ID_EDITOR_CLOSE 40016
#define ID_EDITOR_DELETE_TAGS 40017
#define ID_EDITOR_ADJUST_TAGS 40018
#define ID_EDITOR_OPEN_PLAYING 40019
#define ID_EDITOR_SEND_TO_DISPLAYER 40020
#define ID_EDITOR_SAVE_AS 40021
#define ID_EDITOR_OPEN 40022
#define ID_EDITOR_NEW 40023
#define ID_EDITOR_LONG_TAGS 40024
#define ID_EDITOR_SHORT_TAGS 40025
#define ID_EDITOR_MAKE_KARAOKE 40026
#define ID_EDITOR_DELETE_KARAOKE_TAGS 40027

/* The control id of each view's window (list box, text box, karaoke view). */
#define IDC_EDITOR_VIEW 1001

/* Strings 40..59. */
#define IDS_RECOVERY_FAILED 40   /* the backup could not be read: kept for the next start */
#define IDS_BACKUP_FAILED 41     /* the backup could not be written: changes unprotected */

#endif
