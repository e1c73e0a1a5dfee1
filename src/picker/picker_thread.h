// The picker thread of SelectApplications and the step that answers the page.
#ifndef NPDESKLAUNCH_PICKER_PICKER_THREAD_H
#define NPDESKLAUNCH_PICKER_PICKER_THREAD_H

// Thread procedure for _beginthreadex; its argument is the PickJob, which it takes over.
unsigned int __stdcall PickApplicationThread(void* pArgument);

#endif
