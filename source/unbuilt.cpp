// Handlers whose triplets the source does not serve yet: they refuse with
// TWCC_BADPROTOCOL, as for an unknown triplet.
#include "handlers.h"
#include "source_context.h"

namespace {

TW_UINT16 RefuseTriplet(const TripletArgs&)
{
    g_source.conditionCode = TWCC_BADPROTOCOL;
    return TWRC_FAILURE;
}

}  // namespace

TW_UINT16 HandleCapability(const TripletArgs& args) { return RefuseTriplet(args); }
