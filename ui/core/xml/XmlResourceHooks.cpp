// Where CXmlDocument::LoadFromFile finds the resource folder and the skin archive.

#include "xml/XmlResourceHooks.h"

namespace ZvUI {

namespace {
XmlResourceHooks g_hooks;
} // namespace

void SetXmlResourceHooks(const XmlResourceHooks& hooks)
{
    g_hooks = hooks;
}

const XmlResourceHooks& GetXmlResourceHooks()
{
    return g_hooks;
}

} // namespace ZvUI
