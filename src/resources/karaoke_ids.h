/* Resource ids of the Karaoke Displayer. Included by resource.h. */
#ifndef MRLYRICS_KARAOKE_IDS_H
#define MRLYRICS_KARAOKE_IDS_H

#endif
