// The rules of the provider contract that hold whatever a module does: an interface is only
// its members, a shared member is one override, a numbered interface does not imply the
// earlier ones, and every interface reaches one object root.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "prvdrinfo/contract/provider_interfaces.h"
#include "support/quiet_provider.h"

namespace prvdrinfo {
namespace {

template <class...>
struct Interfaces {};

using Contract = Interfaces<
    IProviderInfo, IProviderInfo2, IProviderInfo3, IProviderStored, IProviderStored2,
    IProviderStored3, IProviderStored4, IProviderStored5, IProviderStored6, IProviderStored7,
    IProviderStored8, IProviderStored9, IProviderStored10, IProviderStored11, IProviderInsert,
    IProviderDraftable, IProviderUpdate, IProviderUpdate2, IProviderDelete, IProviderDelete2,
    IProviderCertify, IProviderCertify2, IProviderCertify3, IProviderCertify4, IProviderCertify5,
    IProviderCertify6, IProviderForm, IProviderForm2, IProviderForm3, IProviderChild,
    IProviderChild2, IProviderChild3, IProviderContacter, IProviderContacter2, IProviderContacter3,
    IProviderContacter4, IProviderAttach, IProviderAttach2, IProviderAttach3, IProviderReasonable,
    IProviderReasonable2, IProviderNotable, IProviderNotable2, IProviderReferencer,
    IProviderReferencer2, IProviderNumbered, IProviderNumbered2, IProviderExternalNumbered,
    IProviderTyped, IProviderTyped2, IProviderTitled, IProviderTitled2, IProviderPhaseable,
    IProviderDated, IProviderDisciplined, IProviderViewable, IProviderViewable2, IProviderViewable3,
    IProviderColumnList, IProviderColumnList2, IProviderFormat, IProviderSearch, IProviderTabStats,
    IProviderTemplate, IProviderDivided, IProviderUPrice, IProviderApprover, IProviderEmail,
    IProviderSubList, IProviderDescendable, IProviderRecordStatus>;

// Every interface is abstract, is destroyed through its own pointer and reaches the
// object root, so a host may hold a provider by any of them.
template <class I>
constexpr bool kAbstractObject =
    std::is_abstract_v<I>&& std::has_virtual_destructor_v<I>&& std::is_base_of_v<IObject, I>;
template <class... Is>
constexpr bool EveryInterfaceIsAnAbstractObject(Interfaces<Is...>) {
  return (kAbstractObject<Is> && ...);
}
static_assert(EveryInterfaceIsAnAbstractObject(Contract{}));

// A member a module forgets leaves its class abstract: the compiler, not a silent empty
// answer, tells the author.
struct TitledButForgetsTheColumn : IProviderTitled {
  std::string ItemTitle(const std::string&, int32_t, const std::string&) const override {
    return {};
  }
};
struct Titled : TitledButForgetsTheColumn {
  std::string TitleColumnGuid() const override { return {}; }
};
static_assert(std::is_abstract_v<TitledButForgetsTheColumn>);
static_assert(!std::is_abstract_v<Titled>);

// Members that two interfaces share with one meaning have one signature, const included,
// so that one override serves both.
template <class>
struct Unbound;
template <class C, class F>
struct Unbound<F C::*> {
  using type = F;
};
template <auto A, auto B>
constexpr bool kSameSignature =
    std::is_same_v<typename Unbound<decltype(A)>::type, typename Unbound<decltype(B)>::type>;
static_assert(
    kSameSignature<&IProviderTitled::TitleColumnGuid, &IProviderCertify4::TitleColumnGuid>);
static_assert(kSameSignature<&IProviderTyped::TypeColumnGuid, &IProviderCertify4::TypeColumnGuid>);
static_assert(
    kSameSignature<&IProviderNumbered::NumberColumnGuid, &IProviderCertify4::NumberColumnGuid>);
static_assert(kSameSignature<&IProviderExternalNumbered::ExternalNumberColumnGuid,
                             &IProviderCertify5::ExternalNumberColumnGuid>);
static_assert(kSameSignature<&IProviderChild::ParentRecordGuidColumnGuid,
                             &IProviderSubList::ParentRecordGuidColumnGuid>);
static_assert(kSameSignature<&IProviderChild::ParentProviderGuidColumnGuid,
                             &IProviderSubList::ParentProviderGuidColumnGuid>);
static_assert(kSameSignature<&IProviderStored::RefreshViews, &IProviderViewable::RefreshViews>);

using prvdrinfo::testing::QuietProvider;

TEST(ProviderInterfaces, OneOverrideServesEveryInterfaceThatSharesTheMember) {
  struct TitledCertifier : QuietProvider, IProviderTitled, IProviderNumbered, IProviderCertify4 {
    std::string ItemTitle(const std::string&, int32_t, const std::string&) const override {
      return {};
    }
    std::string TitleColumnGuid() const override { return "TITLE"; }
    std::string NumberColumnGuid() const override { return "NUMBER"; }
    std::string TypeColumnGuid() const override { return "TYPE"; }
    std::string EffectColumnGuid() const override { return "EFFECT"; }
  };
  std::shared_ptr<IProviderInfo> provider = std::make_shared<TitledCertifier>();
  const auto certify = std::dynamic_pointer_cast<IProviderCertify4>(provider);
  ASSERT_NE(certify, nullptr);
  const auto titled = std::dynamic_pointer_cast<IProviderTitled>(provider);
  const auto numbered = std::dynamic_pointer_cast<IProviderNumbered>(provider);
  ASSERT_NE(titled, nullptr);
  ASSERT_NE(numbered, nullptr);
  EXPECT_EQ(certify->TitleColumnGuid(), "TITLE");
  EXPECT_EQ(titled->TitleColumnGuid(), "TITLE");
  EXPECT_EQ(certify->NumberColumnGuid(), "NUMBER");
  EXPECT_EQ(numbered->NumberColumnGuid(), "NUMBER");
}

TEST(ProviderInterfaces, NumberedInterfacesDoNotImplyTheEarlierOnes) {
  struct StoredTwoOnly : QuietProvider, IProviderStored2 {
    std::string GetComputedColumnSql(const std::string&) const override { return {}; }
    std::shared_ptr<KeyedCollection> ComputedColumnRequiredColumns(
        const std::string&) const override {
      return nullptr;
    }
    std::shared_ptr<IBaseColumnDef> ColumnDefinition(const std::string&) const override {
      return nullptr;
    }
  };
  std::shared_ptr<IProviderInfo> info = std::make_shared<StoredTwoOnly>();
  EXPECT_NE(std::dynamic_pointer_cast<IProviderStored2>(info), nullptr);
  EXPECT_EQ(std::dynamic_pointer_cast<IProviderStored>(info), nullptr);
  EXPECT_EQ(std::dynamic_pointer_cast<IProviderStored3>(info), nullptr);
  // Every interface reaches the one object root, so a provider travels inside a Variant.
  Variant held(std::make_shared<StoredTwoOnly>());
  EXPECT_NE(held.ToObject<IProviderStored2>(), nullptr);
  EXPECT_THROW(held.ToObject<IProviderStored>(), CError);
}

// A persistable class that is also a provider, as a provider info shell is. IPersistable's
// ClassName names the persisted class and IProviderInfo's the provider's; CPersistable's
// Serialize gives the object's bag and IProviderInfo's the provider's metadata. Each side
// answers its own under another name, so the two meanings stay apart in one object.
class ProviderSide : public QuietProvider {
 public:
  std::string ClassName() const final { return ProviderClassName(); }
  Bytes Serialize() const final { return ProviderMetadata(); }

 protected:
  virtual std::string ProviderClassName() const = 0;
  virtual Bytes ProviderMetadata() const = 0;
};

class PersistedSide : public CPersistable {
 public:
  std::string ClassName() const final { return PersistedClassName(); }

 protected:
  virtual std::string PersistedClassName() const = 0;
};

class PersistableProvider : public PersistedSide, public ProviderSide, public IProviderTitled {
 public:
  std::string title;
  void Class_WriteProperties(PropertyBag& bag) const override { bag.WriteProperty("T", title); }
  void Class_ReadProperties(const PropertyBag& bag) override { title = bag.ReadText("T"); }
  std::string ItemTitle(const std::string&, int32_t, const std::string&) const override {
    return {};
  }
  std::string TitleColumnGuid() const override { return title; }

 protected:
  std::string PersistedClassName() const override { return "PersistableProvider"; }
  std::string ProviderClassName() const override { return "CSomeProvider"; }
  Bytes ProviderMetadata() const override { return {1, 2, 3}; }
};

TEST(ProviderInterfaces, APersistableProviderHasOneObjectRoot) {
  ClassRegistry::Register<PersistableProvider>("PersistableProvider");
  auto provider = std::make_shared<PersistableProvider>();
  provider->title = "TITLE-COLUMN";
  EXPECT_EQ(static_cast<const IPersistable&>(*provider).ClassName(), "PersistableProvider");
  EXPECT_EQ(static_cast<const IProviderInfo&>(*provider).ClassName(), "CSomeProvider");
  EXPECT_EQ(static_cast<const IProviderInfo&>(*provider).Serialize(), (Bytes{1, 2, 3}));
  EXPECT_NE(static_cast<const CPersistable&>(*provider).Serialize(), (Bytes{1, 2, 3}));

  PropertyBag bag;
  bag.WriteProperty("Provider", Variant(provider));
  PropertyBag restored;
  restored.SetContents(bag.Contents());
  const auto back = restored.ReadObject<IProviderTitled>("Provider");
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->TitleColumnGuid(), "TITLE-COLUMN");
  EXPECT_NE(std::dynamic_pointer_cast<IProviderInfo>(back), nullptr);
}

}  // namespace
}  // namespace prvdrinfo
