#include "skel/Attachment.h"

namespace skel {

SKEL_RTTI_ROOT_IMPL(Attachment)

Attachment::Attachment(const String& name) : _name(name), _refCount(0) {}

Attachment::~Attachment() {}

}  // namespace skel
