/* Resource ids of gen_mrlyrics.dll: one header for the resource script and the code.
   Plain #defines only: windres reads it too. */
#ifndef MRLYRICS_RESOURCE_H
#define MRLYRICS_RESOURCE_H

/* String table. */
#define IDS_VERSION 1                     /* "1.12" */
#define IDS_PRODUCT_NAME 2                /* caption of every message box */
#define IDS_NEEDS_NEWER_PLAYER 3
#define IDS_CONFIRM_DELETE_TAGS 5
#define IDS_CONFIRM_DELETE_KARAOKE_TAGS 6
#define IDS_SAVE_CHANGES 7
#define IDS_SKIN_BITMAP_NAME 8            /* in the player's skin folder */
#define IDS_SAVE_FAILED 10
#define IDS_READ_ONLY 11
#define IDS_LABEL_TITLE 12                /* song-information labels 12..18 */
#define IDS_LABEL_ARTIST 13
#define IDS_LABEL_ALBUM 14
#define IDS_LABEL_YEAR 15
#define IDS_LABEL_COMMENT 16
#define IDS_LABEL_GENRE 17
#define IDS_LABEL_COPYRIGHT 18
#define IDS_DEFAULT_FONT 24
#define IDS_SAVE_AS_TITLE 25
#define IDS_CONFIRM_OVERWRITE 26
#define IDS_OPEN_TITLE 27
#define IDS_INI_FILE_NAME 28              /* beside the plug-in library */
#define IDS_BACKUP_FILE_NAME 29           /* beside the plug-in library */
#define IDS_RECOVER 30
#define IDS_KEEP_DISPLAY_MODE 31

/* Icons and bitmaps. */
#define IDI_PLUGIN 101                    /* the Options sheet */
#define IDI_EDITOR 102                    /* the Editor */
#define IDI_DISPLAYER 103                 /* the Displayer and the tray icon */
#define IDB_SKIN 105                      /* built-in skin: frame elements and Lyrics button */

/* Menus, accelerators and dialogs. */
#define IDR_PLUGIN_MENU 114               /* one item per window, ids 50003 + WindowIndex */
#define IDR_EDITOR_MENU 116
#define IDD_TIMETAG_ADJUST 118
#define IDR_EDITOR_ACCELERATORS 123

/* Commands of menu 114 (50003 + WindowIndex). */
#define ID_OPEN_DISPLAYER 50003
#define ID_OPEN_KARAOKE 50004
#define ID_OPEN_EDITOR 50005
#define ID_OPEN_OPTIONS 50006
#define ID_OPEN_HELP 50007

/* Each window's own ids. String ids: Editor 40..59, time-tag adjustment 60..69,
   Karaoke Displayer 70..79, Options sheet 80..119. */
#include "editor_ids.h"
#include "timetag_adjust_ids.h"
#include "karaoke_ids.h"
#include "options_ids.h"

#endif
