#include "condition_text.h"

namespace {

struct ConditionTextRow {
    TW_UINT16 code;
    const char* text;
};

const ConditionTextRow kConditionTexts[] = {
    {TWCC_SUCCESS, "Success message from detailed error request ??"},
    {TWCC_BUMMER, "Bummer error."},
    {TWCC_LOWMEMORY, "Low Memory Condition encountered, free up some memory and try again."},
    {TWCC_NODS, "No Data Source found error."},
    {TWCC_MAXCONNECTIONS, "Source is connected to max possible apps."},
    {TWCC_OPERATIONERROR, "An operation error just occurred."},
    {TWCC_BADCAP, "Bad capabilities error."},
    {TWCC_BADPROTOCOL, "Bad protocol error."},
    {TWCC_BADVALUE, "Bad value error."},
    {TWCC_SEQERROR, "DG DAT MSG is out of expected sequence."},
    {TWCC_CAPUNSUPPORTED, "Capability not supported by the source."},
    {TWCC_CAPBADOPERATION, "Operation not supported by the capability."},
    {TWCC_CAPSEQERROR, "Capability operation is out of expected sequence."},
};

const char kUnknownConditionText[] = "Unknown Error value in condition code.";

}  // namespace

const char* ConditionText(TW_UINT16 conditionCode)
{
    for (const ConditionTextRow& row : kConditionTexts) {
        if (row.code == conditionCode) {
            return row.text;
        }
    }
    return kUnknownConditionText;
}
