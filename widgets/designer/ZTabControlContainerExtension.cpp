#include "ZTabControlContainerExtension.h"

#include "ZTabControl.h"
#include "ZTabPage.h"

#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerMetaDataBaseInterface>

ZTabControlContainerExtension::ZTabControlContainerExtension(ZTabControl* control, QObject* parent)
    : QObject(parent)
    , m_Control(control)
{
}

int ZTabControlContainerExtension::count() const
{
    return m_Control->Count();
}

QWidget* ZTabControlContainerExtension::widget(int index) const
{
    return m_Control->Page(index);
}

int ZTabControlContainerExtension::currentIndex() const
{
    return m_Control->SelectedIndex();
}

void ZTabControlContainerExtension::setCurrentIndex(int) {}

void ZTabControlContainerExtension::addWidget(QWidget* widget)
{
    insertWidget(count(), widget);
}

void ZTabControlContainerExtension::insertWidget(int index, QWidget* widget)
{
    if (!widget)
        return;
    if (auto* page = qobject_cast<ZTabPage*>(widget)) {
        m_Control->InsertPage(index, page);
        return;
    }
    QDesignerFormWindowInterface* form = QDesignerFormWindowInterface::findFormWindow(m_Control);
    if (!form)
        return;
    // Any other widget stands for a new page of its name; the widget itself is put out of sight.
    auto* page = new ZTabPage(nullptr, true);
    page->setObjectName(widget->objectName());
    form->core()->metaDataBase()->add(page);
    widget->setGeometry(QRect(QPoint(0, 0), QPoint(-1, -1)));
    m_Control->InsertPage(index, page);
}

void ZTabControlContainerExtension::remove(int index)
{
    m_Control->RemovePage(index);
}

ZTabControlExtensionFactory::ZTabControlExtensionFactory(QExtensionManager* parent)
    : QExtensionFactory(parent)
{
}

QObject* ZTabControlExtensionFactory::createExtension(QObject* object, const QString& iid, QObject* parent) const
{
    auto* control = qobject_cast<ZTabControl*>(object);
    if (!control || iid != QLatin1String(Q_TYPEID(QDesignerContainerExtension)))
        return nullptr;
    return new ZTabControlContainerExtension(control, parent);
}
