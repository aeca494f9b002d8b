#include "receiver/HamlibLink.h"
#include "receiver/LibraryLink.h"
#include "receiver/SerialLink.h"
#include "receiver/SynthesizerLink.h"

namespace drmq {

std::unique_ptr<TReceiverLink> MakeReceiverLink(int model, TLinkHost &host, TLinkParts parts,
                                                TLinkSettings settings) {
    const TReceiverEntry *entry = FindReceiverModel(model);
    if (!entry) return nullptr;
    switch (entry->Link) {
    case TLinkKind::SerialPort:
        return std::make_unique<TSerialLink>(*entry, host, std::move(parts), std::move(settings));
    case TLinkKind::RadioLibrary:
    case TLinkKind::FrontendLibrary:
        return std::make_unique<TLibraryLink>(*entry, host, std::move(parts), std::move(settings));
    case TLinkKind::LinesHeld:
    case TLinkKind::LinesPerCommand:
        return std::make_unique<TSynthesizerLink>(*entry, host, std::move(parts));
    case TLinkKind::HamlibRig:
        return std::make_unique<THamlibLink>(*entry, host, std::move(parts), std::move(settings));
    }
    return nullptr;
}

} // namespace drmq
