#include "caps/capability_queries.h"

#include <cstring>

#include "caps/capability_file.h"
#include "caps/capability_negotiation.h"
#include "caps/reply_builders.h"
#include "source/source_context.h"

namespace {

struct SupportRow {
    TW_UINT16 message;
    TW_INT32 flag;
};

const SupportRow kSupportFlags[] = {
    {MSG_GET, TWQC_GET}, {MSG_GETCURRENT, TWQC_GETCURRENT}, {MSG_GETDEFAULT, TWQC_GETDEFAULT},
    {MSG_SET, TWQC_SET}, {MSG_RESET, TWQC_RESET},
};

// The flag that offers the message; 0 for a message no flag offers, such
// as MSG_GETFIRST.
TW_INT32 SupportFlag(TW_UINT16 message)
{
    for (const SupportRow& row : kSupportFlags) {
        if (row.message == message) {
            return row.flag;
        }
    }
    return 0;
}

TW_UINT16 Fail(TW_UINT16 conditionCode)
{
    g_source.conditionCode = conditionCode;
    return TWRC_FAILURE;
}

// Resets each capability of the capability file as MSG_RESET resets it;
// those whose Reset refuses it keep their values.
TW_UINT16 ResetAll(const TripletArgs& args)
{
    if (!Accepted(args)) {
        return Fail(TWCC_CAPSEQERROR);
    }
    for (const std::string& name : CapabilitySectionNames()) {
        ResetCapability(name.c_str());
    }
    g_source.conditionCode = TWCC_SUCCESS;
    return TWRC_SUCCESS;
}

// The TWQC_ flags of the operations that the capability file lets the
// source carry out for the capability.
TW_INT32 QuerySupport(const char* name)
{
    TW_INT32 flags = 0;
    for (const SupportRow& row : kSupportFlags) {
        if (OperationOffered(name, row.message)) {
            flags |= row.flag;
        }
    }
    return flags;
}

TW_UINT16 AnswerQuerySupport(TW_CAPABILITY& capability, const char* name)
{
    TW_UINT16 code = BuildOneValue(capability, TWTY_INT32,
                                   static_cast<TW_UINT32>(QuerySupport(name)), MSG_QUERYSUPPORT);
    g_source.conditionCode = code;
    return code == TWCC_SUCCESS ? TWRC_SUCCESS : TWRC_FAILURE;
}

}  // namespace

TW_UINT16 HandleTwain2Capability(const TripletArgs& args)
{
    if (args.MSG == MSG_RESETALL) {
        return ResetAll(args);
    }
    TW_CAPABILITY* capability = static_cast<TW_CAPABILITY*>(args.pData);
    if (capability == nullptr) {
        return Fail(TWCC_BADVALUE);
    }
    char name[kCapabilityNameLength + 1];
    ReadCapabilityName(capability->Cap, name, sizeof name);
    if (strcmp(name, "NONE") == 0) {
        return Fail(TWCC_CAPUNSUPPORTED);
    }
    if (args.MSG == MSG_QUERYSUPPORT) {
        return AnswerQuerySupport(*capability, name);
    }
    if (SupportFlag(args.MSG) == 0 || !OperationOffered(name, args.MSG)) {
        return Fail(TWCC_CAPBADOPERATION);
    }
    return AnswerRequest(*capability, args.MSG, name);
}
