// The picker thread of SelectApplications and the step that answers the page.
#ifndef NPDESKLAUNCH_SCRIPT_PICK_DELIVERY_H
#define NPDESKLAUNCH_SCRIPT_PICK_DELIVERY_H

#include "npapi/npapi.h"

// Thread procedure for _beginthreadex; its argument is the PickJob, which it takes over. The
// thread keeps the module loaded until it has ended.
unsigned int __stdcall PickApplicationThread(void* pArgument);

// Run by the browser on the plug-in thread with the ticket of a handed-over job: calls the
// page's function with the entry, when there is one, and frees the job.
void NP_TABLE DeliverPickedApplication(void* pTicket);

#endif
