/* Resource ids of the Options sheet: pages 111, 112, 115, 119, 120, 121. Included by resource.h. */
#ifndef MRLYRICS_OPTIONS_IDS_H
#define MRLYRICS_OPTIONS_IDS_H

#endif
