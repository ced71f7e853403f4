// How the image pipe hooks exchange IQ items with the vendor library: -4 from the vendor means
// there is nothing to do and counts as success; any other failure is reported on standard
// output and handed back to the framework.
#pragma once

// Where in a hook a vendor call is made, for the report.
struct iq_site_st {
    const char* szHook;
    int nLine;
    int nItem;
};

// Reads the item into p_pData, whose first word holds the pipe. True to go on; otherwise
// p_nResult is what the hook returns.
bool readIqItem(const iq_site_st& p_stSite, void* p_pData, int& p_nResult);

// Writes the item; returns what the hook returns.
int writeIqItem(const iq_site_st& p_stSite, void* p_pData);
