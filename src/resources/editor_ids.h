/* Resource ids of the Editor: menu 116, accelerators 123, its commands and strings. Included by resource.h. */
#ifndef MRLYRICS_EDITOR_IDS_H
#define MRLYRICS_EDITOR_IDS_H

#endif
