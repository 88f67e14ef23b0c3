/* Resource ids of the time-tag adjustment dialog 118. Included by resource.h. */
#ifndef MRLYRICS_TIMETAG_ADJUST_IDS_H
#define MRLYRICS_TIMETAG_ADJUST_IDS_H

/* Controls of dialog 118 (IDD_TIMETAG_ADJUST). */
#define IDC_ADJUST_START_NOW 3            /* the playing position as the new start */
#define IDC_ADJUST_END_NOW 4              /* ... as the new end */
#define IDC_ADJUST_SHIFT_UNITS 1005       /* signed, in 10 ms units */
#define IDC_ADJUST_SHIFT_OK 1028
#define IDC_ADJUST_RESCALE_OK 1029
#define IDC_ADJUST_NEW_START 1030         /* a time tag, [mm:ss:cc] */
#define IDC_ADJUST_NEW_END 1031
#define IDC_ADJUST_END_LINE 1033          /* the line whose latest tag is the old end */
#define IDC_ADJUST_START_LINE 1034        /* the line whose earliest tag is the old start */
#define IDC_ADJUST_BACK 1035              /* seek 5 s back */
#define IDC_ADJUST_FORWARD 1036           /* seek 5 s forward */
#define IDC_ADJUST_JUMP_START 1037        /* seek 2.5 s before the new start */
#define IDC_ADJUST_JUMP_END 1038

#endif
