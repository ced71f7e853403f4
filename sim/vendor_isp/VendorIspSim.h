// Controls of the simulated vendor ISP library, for the plug-in tests. None of this exists on
// the device.
//
// The model keeps, per pipe, the last record written for each IQ item and answers a read with
// it (or with a zero record carrying the pipe). It knows the record sizes of the items the
// plug-ins use; any other item fails with -1. Every call is logged with the bytes handed over
// on a write or answered on a read.
#pragma once

#include <cstdint>
#include <vector>

#include "vendor_isp.h"

namespace vendorsim {

enum class Op { GetIq, SetIq, SetAe };

struct Call {
    Op op;
    int item;
    int pipe;                    // the record's first word (0 for AE items)
    std::vector<uint8_t> bytes;  // empty when the call failed
};

// Forgets items, log and statuses, and zeroes gst_po_params and gst_ae_params.
void reset();

std::vector<Call> calls();
void clearCalls();

// Makes every call of op on item return status (item -1: any item); 0 clears.
void setStatus(Op p_eOp, int p_nItem, int p_nStatus);

// The record an item's read answers on a pipe; its first word is set to the pipe.
void setItem(int p_nPipe, int p_nItem, std::vector<uint8_t> p_vecBytes);
// The record stored for a pipe's item, by a write or setItem; false when there is none.
bool getItem(int p_nPipe, int p_nItem, std::vector<uint8_t>& p_vecBytes);

// Size of the record the model exchanges for an IQ or AE item; 0 for an item it does not know.
size_t itemSize(Op p_eOp, int p_nItem);

}  // namespace vendorsim
