#include "WidgetDescriptor.h"

WidgetDescriptor::WidgetDescriptor(const Info& info, QObject* parent)
    : QObject(parent)
    , m_Info(info)
{
}

QString WidgetDescriptor::name() const { return m_Info.Name; }
QString WidgetDescriptor::group() const { return m_Info.Group; }
QString WidgetDescriptor::toolTip() const { return QString(); }
QString WidgetDescriptor::whatsThis() const { return QString(); }
QString WidgetDescriptor::includeFile() const { return m_Info.Name + QStringLiteral(".h"); }

QIcon WidgetDescriptor::icon() const
{
    return m_Info.LibraryIcon ? QIcon(QStringLiteral("://Icons/Velour.ico")) : QIcon();
}

bool WidgetDescriptor::isContainer() const { return m_Info.Container; }
bool WidgetDescriptor::isInitialized() const { return m_Initialized; }
QString WidgetDescriptor::domXml() const { return m_Info.DomXml; }

void WidgetDescriptor::initialize(QDesignerFormEditorInterface* core)
{
    if (m_Initialized)
        return;
    InitializeEvent(core);
    m_Initialized = true;
}

void WidgetDescriptor::InitializeEvent(QDesignerFormEditorInterface*) {}
