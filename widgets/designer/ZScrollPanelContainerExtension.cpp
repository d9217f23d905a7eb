#include "ZScrollPanelContainerExtension.h"

#include "ZScrollPanel.h"

ZScrollPanelContainerExtension::ZScrollPanelContainerExtension(ZScrollPanel* panel, QObject* parent)
    : QObject(parent)
    , m_Panel(panel)
{
}

void ZScrollPanelContainerExtension::Prune() const
{
    m_Widgets.removeAll(QPointer<QWidget>());
}

int ZScrollPanelContainerExtension::count() const
{
    Prune();
    return m_Widgets.size();
}

QWidget* ZScrollPanelContainerExtension::widget(int index) const
{
    Prune();
    return index >= 0 && index < m_Widgets.size() ? m_Widgets.at(index).data() : nullptr;
}

int ZScrollPanelContainerExtension::currentIndex() const
{
    return m_Panel->ScrollWidget() ? 0 : -1;
}

void ZScrollPanelContainerExtension::setCurrentIndex(int) {}

void ZScrollPanelContainerExtension::addWidget(QWidget* widget)
{
    if (!widget)
        return;
    m_Widgets.append(widget);
    widget->setParent(m_Panel);
}

void ZScrollPanelContainerExtension::insertWidget(int, QWidget* widget)
{
    addWidget(widget);
}

void ZScrollPanelContainerExtension::remove(int) {}

ZScrollPanelExtensionFactory::ZScrollPanelExtensionFactory(QExtensionManager* parent)
    : QExtensionFactory(parent)
{
}

QObject* ZScrollPanelExtensionFactory::createExtension(QObject* object, const QString& iid, QObject* parent) const
{
    auto* panel = qobject_cast<ZScrollPanel*>(object);
    if (!panel || iid != QLatin1String(Q_TYPEID(QDesignerContainerExtension)))
        return nullptr;
    return new ZScrollPanelContainerExtension(panel, parent);
}
