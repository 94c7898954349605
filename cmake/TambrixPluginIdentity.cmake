# The plug-in's identity as the framework reads it: these definitions reach JUCE's
# modules, the processor, the editor and the wrapper alike, so that every
# translation unit is compiled with one configuration.
add_library(tambrix_plugin_identity INTERFACE)
target_compile_definitions(tambrix_plugin_identity INTERFACE
  JucePlugin_Build_AAX=1
  JucePlugin_Build_VST=0
  JucePlugin_Build_VST3=0
  JucePlugin_Build_AU=0
  JucePlugin_Build_AUv3=0
  JucePlugin_Build_Standalone=0
  JucePlugin_Build_Unity=0
  JucePlugin_Build_LV2=0
  JucePlugin_Enable_ARA=0
  JucePlugin_Name="tambrix"
  JucePlugin_Desc="Jelv - tambrix"
  JucePlugin_Manufacturer="Jelv"
  JucePlugin_ManufacturerWebsite=""
  JucePlugin_ManufacturerEmail=""
  JucePlugin_ManufacturerCode=0x4a656c76 # 'Jelv'
  JucePlugin_PluginCode=0x74627278       # 'tbrx'
  JucePlugin_IsSynth=0
  JucePlugin_WantsMidiInput=1
  JucePlugin_ProducesMidiOutput=1
  JucePlugin_IsMidiEffect=0
  JucePlugin_EditorRequiresKeyboardFocus=0
  JucePlugin_Version=1.0.7
  JucePlugin_VersionString="1.0.7"
  JucePlugin_VersionCode=0x10007
  JucePlugin_VSTUniqueID=JucePlugin_PluginCode
  JucePlugin_AAXIdentifier=com.jelv.tambrix
  JucePlugin_AAXManufacturerCode=JucePlugin_ManufacturerCode
  JucePlugin_AAXProductId=JucePlugin_PluginCode
  JucePlugin_AAXCategory=0
  JucePlugin_AAXDisableBypass=0
  JucePlugin_AAXDisableMultiMono=0)
