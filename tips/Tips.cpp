#include "Tips.h"

#include <stdlib.h>

#include "TextFile.h"
#include "platform.h"
#include "strutils.h"
#include "xmlutils.h"

static const char g_noSetRegPath[] = "\\Software\\Tarvin Tips";

CTips::CTip::CTip(const char* text)
{
    StrCopy(m_text, text);
}

CTips::CTipSet::CTipSet(const char* name, const char* regPath)
{
    StrCopy(m_name, name);
    StrCopy(m_regPath, regPath);
}

CTips::CTips() : m_curTip(0), m_curSet(nullptr)
{
}

CTips::~CTips()
{
    Clear();
}

void CTips::Clear()
{
    m_curSet = nullptr;
    m_curTip = 0;
    m_sets.Clear();
}

int CTips::Load(const char* path)
{
    Clear();
    CTextFile file;
    file.Init(1024);
    if (!path || !file.Open(path, CTextFile::modeRead))
        return TIPS_ERR_CANNOT_OPEN;

    char line[CTextFile::lineTips];
    char tag[32];
    if (!file.ReadLine(line, sizeof(line)))
        return TIPS_OK;
    switch (ReadFileHeader(line, "?TarvinTips"))
    {
        case FILE_HEADER_MISSING:
            return TIPS_OK;
        case FILE_HEADER_NO_VERSION:
            return TIPS_ERR_NO_VERSION;
        case FILE_HEADER_BAD_VERSION:
            return TIPS_ERR_BAD_VERSION;
    }

    CTipSet* filling = nullptr;
    // A line over the limit is cut there and the rest of it skipped, so that
    // no part of a tip's text is read as an element of its own. The cut line
    // gets its closing quote back: its text is kept as far as it goes, as
    // every field is cut to its size.
    for (bool cut = false; file.ReadCutLine(line, sizeof(line) - 1, &cut);)
    {
        if (cut)
            StrAppend(line, "\"");
        if (GetTagName(line, tag, sizeof(tag)) < 0)
            continue;
        if (StrCompareNoCase(tag, "tipset") == 0)
        {
            if (IsEndTag(line))
            {
                filling = nullptr;
                continue;
            }
            char name[NAME_SIZE] = "";
            char regPath[PATH_SIZE] = "";
            GetPropertyValue(line, "name", name, sizeof(name));
            GetPropertyValue(line, "regpath", regPath, sizeof(regPath));
            filling = new CTipSet(name, regPath);
            m_sets.Add(filling, true);
        }
        else if (StrCompareNoCase(tag, "tip") == 0 && !IsEndTag(line))
        {
            if (!filling)
                return TIPS_ERR_TIP_OUTSIDE_SET;
            char text[TEXT_SIZE];
            // A tip whose text cannot be read has nothing to show.
            if (GetPropertyValue(line, "text", text, sizeof(text)) < 0)
                continue;
            StrReplace(text, sizeof(text), "\\n", "\n");
            filling->GetTips().Add(new CTip(text), true);
        }
    }
    return TIPS_OK;
}

int CTips::OpenSet(const char* name)
{
    m_curTip = 0;
    m_sets.ResetCur();
    for (CTipSet* set = m_sets.GetCur(); set; set = m_sets.GetNext())
    {
        m_curSet = set;
        if (name && StrCompareNoCase(set->GetName(), name) == 0)
            return 1;
    }
    return 0;
}

int CTips::OpenFirstSet()
{
    m_curTip = 0;
    CTipSet* first = m_sets.GetAt(0);
    if (!first)
        return 0;
    m_curSet = first;
    return 1;
}

CTips::CTipSet* CTips::GetSet(unsigned index)
{
    return m_sets.GetAt(index);
}

const char* CTips::TipAt(int index)
{
    CTip* tip = m_curSet->GetTips().GetAt((unsigned)index);
    return tip ? tip->GetText() : "";
}

const char* CTips::GetRandomTip()
{
    if (!m_curSet || m_curSet->GetTips().GetSize() == 0)
        return "";
    srand((unsigned)PfGetTickCount());
    m_curTip = rand() % (int)m_curSet->GetTips().GetSize();
    return TipAt(m_curTip);
}

const char* CTips::GetNextTip()
{
    if (!m_curSet || m_curSet->GetTips().GetSize() == 0)
        return "";
    int count = (int)m_curSet->GetTips().GetSize();
    m_curTip = m_curTip + 1 >= count || m_curTip < 0 ? 0 : m_curTip + 1;
    return TipAt(m_curTip);
}

const char* CTips::GetPrevTip()
{
    if (!m_curSet || m_curSet->GetTips().GetSize() == 0)
        return "";
    int count = (int)m_curSet->GetTips().GetSize();
    m_curTip = m_curTip <= 0 || m_curTip > count ? count - 1 : m_curTip - 1;
    return TipAt(m_curTip);
}

const char* CTips::GetRegPath() const
{
    return m_curSet ? m_curSet->GetRegPath() : g_noSetRegPath;
}

int CTips::Save(const char*)
{
    return 0;
}
