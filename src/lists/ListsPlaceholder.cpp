namespace stallmark { void ListsLayerLinked() {} }
