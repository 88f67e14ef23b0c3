/* Resource ids of the time-tag adjustment dialog 118. Included by resource.h. */
#ifndef MRLYRICS_TIMETAG_ADJUST_IDS_H
#define MRLYRICS_TIMETAG_ADJUST_IDS_H

#endif
