// The header of a bill form: the template's visible fields in its order, each a caption and a
// box. Locked fields are read-only. A base-data field shows the record's name and takes its
// number (F7 or the button opens the pick list); a change is sent when the box is left or
// Enter is pressed, and Enter moves on to the next box. A box may end in a button of the bill's
// plug-in, whose click goes to the form. A box that offers records (the receive address: the
// customer's contacts and stored addresses) picks one the same way; the host writes its text.
import { h } from './api.js';

export class HeadFields {
  // `page` offers edit(key, row, value), choose(key, record) and pick(key, row, caption, typed).
  constructor(page) {
    this.page = page;
    this.el = h('section.head');
    this.fields = new Map();  // key -> {field, control, button}
    this.signature = '';
  }

  apply(head) {
    const signature = head.map((f) => `${f.key}:${f.type}:${f.caption}:${f.required ? 1 : 0}:${f.postfix ? f.postfix.name : ''}:${f.records ? 1 : 0}`).join('|');
    if (signature !== this.signature) {
      this.signature = signature;
      this.#build(head);
    }
    for (const f of head) this.#update(f);
  }

  #build(head) {
    this.fields.clear();
    const items = head.map((f) => {
      const id = `head-${f.key}`;
      let control;
      let button = null;
      if (f.type === 'check') {
        control = h('input', { type: 'checkbox', id, dataset: { field: f.key } });
        control.addEventListener('change', () => this.page.edit(f.key, -1, control.checked ? 1 : 0)
          .finally(() => this.#update(this.fields.get(f.key).field)));
      } else {
        control = h('input', { type: 'text', id, spellcheck: false, autocomplete: 'off', dataset: { field: f.key } });
        control.addEventListener('focus', () => {
          const e = this.fields.get(f.key);
          if (e.field.type === 'base' && !control.readOnly) control.value = e.field.number || '';
          control.select();
        });
        control.addEventListener('blur', () => this.#commit(f.key));
        control.addEventListener('keydown', (e) => this.#key(e, f.key));
        if (f.postfix) {
          // A button the bill's plug-in placed at the end of the box.
          button = h('button.pick.postfix', { type: 'button', tabindex: -1, dataset: { control: f.postfix.name },
            onclick: () => this.page.control(f.postfix.name) }, f.postfix.caption);
        } else if (f.type === 'base' || f.records) {
          button = h('button.pick', { type: 'button', tabindex: -1, title: '选择 (F7)', onclick: () => this.#pick(f.key) }, '…');
        }
      }
      this.fields.set(f.key, { field: f, control, button });
      return h('div.head-field', { dataset: { key: f.key } },
        h('label', { for: id, class: f.required ? 'required' : undefined }, f.caption),
        h('div.head-box', null, control, button));
    });
    this.el.replaceChildren(...items);
  }

  // The text the person edits: the number of a base-data record, the shown text otherwise.
  #editText(field) {
    return field.type === 'base' ? field.number || '' : field.text;
  }

  #update(f) {
    const entry = this.fields.get(f.key);
    if (!entry) return;
    entry.field = f;
    const { control, button } = entry;
    if (f.type === 'check') {
      control.checked = f.text === '1';
      control.disabled = !f.editable;
    } else {
      control.readOnly = !f.editable;
      // What the person is typing stays; the host's text shows elsewhere.
      if (document.activeElement !== control) control.value = f.text;
      control.title = f.type === 'base' && f.number ? f.number : '';
      control.dataset.committed = this.#editText(f);
    }
    if (button) button.disabled = !f.editable || (f.postfix && !f.postfix.enabled);
  }

  #commit(key) {
    const entry = this.fields.get(key);
    if (!entry || entry.control.readOnly) return;
    const { field, control } = entry;
    const value = control.value;
    if (value === control.dataset.committed) {
      // Left unchanged: the box shows the record's name again (once no edit is under way).
      if (!entry.pending && document.activeElement !== control) control.value = field.text;
      return;
    }
    control.dataset.committed = value;
    entry.pending = true;
    // The host's answer shows the field as it stands, also when it refused the value.
    this.page.edit(key, -1, value).finally(() => {
      entry.pending = false;
      this.#update(entry.field);
    });
  }

  // The pick list; a chosen record is taken as typed and the cursor moves on.
  async #pick(key, typed = '') {
    const { field, control } = this.fields.get(key);
    if (!field.editable) return;
    const record = await this.page.pick(key, -1, field.caption, typed);
    if (!record) {
      control.focus();
      return;
    }
    if (field.records) {
      // The host writes the record's text into the box and remembers the record.
      this.#next(control);
      await this.page.choose(key, record.id);
      this.#update(this.fields.get(key).field);
      return;
    }
    control.dataset.committed = record.number;
    control.value = record.number;
    this.#next(control);
    await this.page.edit(key, -1, record.id);
    this.#update(this.fields.get(key).field);
  }

  #next(control) {
    const controls = [...this.fields.values()].map((x) => x.control).filter((c) => !c.readOnly && !c.disabled);
    const next = controls[controls.indexOf(control) + 1];
    if (next) next.focus();
    else this.page.focusGrid();
  }

  #key(e, key) {
    const { field, control } = this.fields.get(key);
    if (e.key === 'F7' && (field.type === 'base' || field.records)) {
      e.preventDefault();
      this.#pick(key, control.value === control.dataset.committed ? '' : control.value);
    } else if (e.key === 'Enter') {
      e.preventDefault();
      this.#commit(key);
      this.#next(control);
    } else if (e.key === 'Escape') {
      control.value = control.dataset.committed;
    }
  }

  focusField(key) {
    this.fields.get(key)?.control.focus();
  }
}
