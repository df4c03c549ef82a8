#include "skel/AttachmentLoader.h"

namespace skel {

SKEL_RTTI_ROOT_IMPL(AttachmentLoader)

AttachmentLoader::AttachmentLoader() = default;

AttachmentLoader::~AttachmentLoader() = default;

}  // namespace skel
